#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test; then the whole suite again under
# AddressSanitizer + UndefinedBehaviorSanitizer (build/asan), then every fuzz target for a few
# seconds (build/fuzz). Arguments go to the normal ctest run.
# MORVEL_QUICK=1 runs the normal suite only.
set -euo pipefail
root=$(cd "$(dirname "$0")" && pwd)
build_dir="$root/build/test"
asan_dir="$root/build/asan"
"$root/tools/setup.sh" "$build_dir" RelWithDebInfo
export XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-/tmp/runtime-$(id -u)}
mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"

passed=0
failed=0
# Runs ctest in a build folder and adds its counts to the totals.
run_ctest() {
    local dir=$1 log
    shift
    log=$(mktemp)
    set +e
    (cd "$dir" && QT_QPA_PLATFORM=offscreen ctest --output-on-failure --parallel "$(nproc)" "$@") \
        2>&1 | tee "$log"
    set -e
    local total bad
    total=$(sed -n 's/.*tests passed, [0-9]* tests\{0,1\} failed out of \([0-9]*\).*/\1/p' "$log")
    bad=$(sed -n 's/.*tests passed, \([0-9]*\) tests\{0,1\} failed out of.*/\1/p' "$log")
    rm -f "$log"
    if [ -z "$total" ]; then
        failed=$((failed + 1))
        return
    fi
    passed=$((passed + total - bad))
    failed=$((failed + bad))
}

run_ctest "$build_dir" "$@"

if [ "${MORVEL_QUICK:-0}" != 1 ]; then
    echo "== The test suite under AddressSanitizer + UndefinedBehaviorSanitizer"
    sanitize="-O1 -g -fno-omit-frame-pointer -fsanitize=address,undefined -fno-sanitize-recover=undefined"
    cmake -S "$root" -B "$asan_dir" -G Ninja -DCMAKE_BUILD_TYPE=Debug \
        -DCMAKE_CXX_FLAGS_DEBUG="$sanitize" -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=address,undefined" \
        -DMORVEL_BUILD_BENCH=OFF >/dev/null
    cmake --build "$asan_dir" --parallel "$(nproc)" | tail -n 1
    # Qt is not instrumented, yet the suite needs no leak suppression: every test ends its
    # application properly. (The fuzz targets do need one, for fontconfig: see fuzz/README.md.)
    ASAN_OPTIONS=detect_leaks=1:strict_string_checks=1:detect_stack_use_after_return=1 \
        UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
        run_ctest "$asan_dir"

    echo "== Fuzz targets, a few seconds each"
    if command -v clang++ >/dev/null; then
        fuzz_log=$(mktemp)
        set +e
        "$root/fuzz/run-short.sh" 2>&1 | tee "$fuzz_log"
        set -e
        fuzz_ok=$(grep -c '^fuzz_.*runs' "$fuzz_log" || true)
        fuzz_bad=$(grep -c '^fuzz_.*FINDING' "$fuzz_log" || true)
        passed=$((passed + fuzz_ok))
        failed=$((failed + fuzz_bad))
        if [ "$fuzz_ok" -eq 0 ] && [ "$fuzz_bad" -eq 0 ]; then
            failed=$((failed + 1))
        fi
        rm -f "$fuzz_log"
    else
        echo "clang++ missing: fuzz targets not run"
        failed=$((failed + 1))
    fi
fi

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
