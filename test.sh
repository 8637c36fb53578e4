#!/usr/bin/env bash
# Installs what is missing, builds the test suite once, under AddressSanitizer +
# UndefinedBehaviorSanitizer with warnings as errors (build/test), and runs every test, the check
# of the Debian package among them, while the fuzz targets build (build/fuzz, clang) and the
# threaded tests build under ThreadSanitizer (build/tsan); then those under ThreadSanitizer, and
# every fuzz target for a few seconds; last, that every .cpp and .h file is formatted as .clang-format
# says (tools/check-format.sh).
# Arguments go to ctest. MORVEL_QUICK=1 leaves out the fuzz targets.
set -euo pipefail
root=$(cd "$(dirname "$0")" && pwd)
build_dir="$root/build/test"
export XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-/tmp/runtime-$(id -u)}
mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"

passed=0
failed=0

# -O1 with line tables only: reports keep their files and lines, and the build stays quick, as
# it does with the tests' precompiled headers (which ccache caches only with these sloppinesses).
sloppy=pch_defines,time_macros,include_file_mtime,include_file_ctime
export CCACHE_SLOPPINESS=${CCACHE_SLOPPINESS:-$sloppy}
if ! "$root/tools/setup.sh" "$build_dir" Debug -DCMAKE_CXX_FLAGS_DEBUG="-O1 -g1" \
    -DMORVEL_SANITIZE=ON -DMORVEL_WERROR=ON -DMORVEL_PCH=ON -DMORVEL_BUILD_TESTS=ON \
    -DMORVEL_BUILD_BENCH=OFF -DMORVEL_BUILD_SCREENSHOTS=OFF; then
    echo "0 passed, 1 failed"
    exit 1
fi

# The fuzz targets build (clang) while the suite runs.
fuzz=0
if [ "${MORVEL_QUICK:-0}" != 1 ]; then
    if command -v clang++ >/dev/null; then
        fuzz_build_log=$(mktemp)
        MORVEL_SEED_MAKER="$build_dir/tests/make_seeds" "$root/fuzz/run.sh" 0 \
            >"$fuzz_build_log" 2>&1 &
        fuzz=$!
    else
        echo "clang++ missing: fuzz targets not run"
        failed=$((failed + 1))
    fi
fi

# ThreadSanitizer on the code that runs threads (the batches of morvel-compose, the photo reader's
# notices): the libraries and the two tests that drive them, in build/tsan, built while the suite
# runs, as a unity build (a few files at a time in one compilation), which takes a third less.
tsan_dir="$root/build/tsan"
tsan_tests=(tst_ComposeCommand tst_PictureFiles)
tsan_build_log=$(mktemp)
launcher=()
if command -v ccache >/dev/null; then
    launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
(cmake -S "$root" -B "$tsan_dir" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG="-O1 -g1" \
    -DMORVEL_TSAN=ON -DMORVEL_PCH=ON -DCMAKE_UNITY_BUILD=ON -DMORVEL_BUILD_TESTS=ON \
    -DMORVEL_BUILD_BENCH=OFF -DMORVEL_BUILD_SCREENSHOTS=OFF "${launcher[@]}" >/dev/null &&
    cmake --build "$tsan_dir" --parallel "$(nproc)" --target "${tsan_tests[@]}") >"$tsan_build_log" 2>&1 &
tsan=$!

echo "== The test suite under AddressSanitizer + UndefinedBehaviorSanitizer"
# Qt is not instrumented, yet the suite needs no leak suppression: every test ends its
# application properly. (The fuzz targets do need one, for fontconfig: see fuzz/README.md.)
log=$(mktemp)
set +e
(cd "$build_dir" &&
    ASAN_OPTIONS=detect_leaks=1:strict_string_checks=1:detect_stack_use_after_return=1 \
    UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 QT_QPA_PLATFORM=offscreen \
    ctest --output-on-failure --parallel "$(nproc)" "$@") 2>&1 | tee "$log"
set -e
total=$(sed -n 's/.*tests passed, [0-9]* tests\{0,1\} failed out of \([0-9]*\).*/\1/p' "$log")
bad=$(sed -n 's/.*tests passed, \([0-9]*\) tests\{0,1\} failed out of.*/\1/p' "$log")
rm -f "$log"
if [ -z "$total" ]; then
    failed=$((failed + 1))
else
    passed=$((passed + total - bad))
    failed=$((failed + bad))
fi

echo "== The threaded tests under ThreadSanitizer"
if wait "$tsan"; then
    tsan_log=$(mktemp)
    set +e
    # die_after_fork=0: the plate-solving rows start astrometry.net's programs from a process
    # that already runs threads; the child only runs the program (or reports that it cannot).
    (cd "$tsan_dir" &&
        TSAN_OPTIONS="halt_on_error=1:die_after_fork=0:suppressions=$root/tests/tsan.supp" \
        QT_QPA_PLATFORM=offscreen ctest --output-on-failure \
        -R "^($(IFS='|'; echo "${tsan_tests[*]}"))\$") 2>&1 | tee "$tsan_log"
    set -e
    tsan_bad=$(sed -n 's/.*tests passed, \([0-9]*\) tests\{0,1\} failed out of.*/\1/p' "$tsan_log")
    if [ -z "$tsan_bad" ]; then
        failed=$((failed + 1))
    else
        passed=$((passed + ${#tsan_tests[@]} - tsan_bad))
        failed=$((failed + tsan_bad))
    fi
    rm -f "$tsan_log"
else
    cat "$tsan_build_log"
    failed=$((failed + 1))
fi
rm -f "$tsan_build_log"

if [ "$fuzz" != 0 ]; then
    echo "== Fuzz targets, a few seconds each"
    fuzz_log=$(mktemp)
    set +e
    if wait "$fuzz"; then
        FUZZ_NO_BUILD=1 "$root/fuzz/run-short.sh" 2>&1 | tee "$fuzz_log"
    else
        cat "$fuzz_build_log"
    fi
    set -e
    fuzz_ok=$(grep -c '^fuzz_.*runs' "$fuzz_log" || true)
    fuzz_bad=$(grep -c '^fuzz_.*FINDING' "$fuzz_log" || true)
    passed=$((passed + fuzz_ok))
    failed=$((failed + fuzz_bad))
    if [ "$fuzz_ok" -eq 0 ] && [ "$fuzz_bad" -eq 0 ]; then
        echo "No fuzz target ran."
        failed=$((failed + 1))
    fi
    rm -f "$fuzz_log" "$fuzz_build_log"
fi

echo "== Formatting"
if "$root/tools/check-format.sh"; then
    passed=$((passed + 1))
else
    failed=$((failed + 1))
fi

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
