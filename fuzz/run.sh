#!/usr/bin/env bash
# Builds the fuzz targets (clang), writes their seed corpora and runs each for SECONDS.
# Usage: fuzz/run.sh SECONDS [TARGET...]   (targets without the "fuzz_" prefix; all when none)
# SECONDS 0 builds and writes the seeds only.
# Each target's corpus grows in build/fuzz/corpus/TARGET; a finding and the run's log
# (TARGET-SECONDSs.log) go to build/fuzz/artifacts/; a finding makes the script fail.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build/fuzz"
seconds=${1:?usage: fuzz/run.sh SECONDS [TARGET...]}
shift
targets=("$@")

# FUZZ_NO_BUILD=1 skips building and seeding, for several runs side by side.
# The seeds come from make_seeds, a program of the main project built with the tests:
# MORVEL_SEED_MAKER names one already built (./test.sh passes its own), otherwise it is built
# in build/seeds.
if [ "${FUZZ_NO_BUILD:-0}" != 1 ]; then
    launcher=()
    if command -v ccache >/dev/null; then
        launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
    fi
    if [ ! -f "$build/build.ninja" ]; then
        # A unity build: a few files at a time in one compilation, which builds faster.
        cmake -S "$root/fuzz" -B "$build" -G Ninja -DCMAKE_CXX_COMPILER=clang++ \
            -DCMAKE_UNITY_BUILD=ON "${launcher[@]}" >/dev/null
    fi
    # Quiet when it builds; the compiler's and linker's last words when it does not.
    if ! output=$(cmake --build "$build" --parallel "$(nproc)" 2>&1); then
        printf '%s\n' "$output" | grep -v '^\[' | tail -n 40 >&2
        echo "fuzz/run.sh: the fuzz targets did not build" >&2
        exit 1
    fi
    seed_maker=${MORVEL_SEED_MAKER:-}
    if [ -z "$seed_maker" ]; then
        if [ ! -f "$root/build/seeds/build.ninja" ]; then
            cmake -S "$root" -B "$root/build/seeds" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
                -DMORVEL_BUILD_BENCH=OFF "${launcher[@]}" >/dev/null
        fi
        cmake --build "$root/build/seeds" --target make_seeds >/dev/null
        seed_maker="$root/build/seeds/tests/make_seeds"
    fi
    rm -rf "$build/seeds"
    ASAN_OPTIONS=detect_leaks=0 QT_QPA_PLATFORM=offscreen "$seed_maker" "$build/seeds" 2>/dev/null
fi
[ "$seconds" != 0 ] || exit 0
mkdir -p "$build/artifacts"
# Every target the fuzz project builds, when none is named.
if ((${#targets[@]} == 0)); then
    for program in "$build"/fuzz_*; do
        [ -f "$program" ] && [ -x "$program" ] && targets+=("${program##*/fuzz_}")
    done
fi

export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:allocator_may_return_null=0}
export LSAN_OPTIONS=suppressions=$root/tests/hardening/lsan.supp:print_suppressions=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-/tmp/runtime-$(id -u)}
mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"

# One target's run; its line of summary goes to TARGET.summary, its status is the run's.
run_one() {
    local t=$1 corpus="$build/corpus/$1" log="$build/artifacts/$1-${seconds}s.log"
    mkdir -p "$corpus" "$build/seeds/$t"
    # cfitsio asks for impossible sizes (petabytes) on some damaged headers and reports the
    # refusal as an error, as it does outside the fuzzer; the 1 GiB limit below still counts.
    local asan=$ASAN_OPTIONS
    [ "$t" = picture_fits ] && asan=${ASAN_OPTIONS/allocator_may_return_null=0/allocator_may_return_null=1}
    # -rss_limit_mb bounds what one input may make the readers allocate; -timeout one input's time.
    if ASAN_OPTIONS=$asan "$build/fuzz_$t" "$corpus" "$build/seeds/$t" -max_total_time="$seconds" \
        -rss_limit_mb=1024 -timeout=20 -print_final_stats=1 \
        -artifact_prefix="$build/artifacts/$t-" >"$log" 2>&1; then
        execs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
        speed=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log")
        echo "fuzz_$t: ${seconds}s, $execs runs, $speed/s, corpus $(find "$corpus" -type f | wc -l) files"
    else
        echo "fuzz_$t: FINDING (see $log)"
        grep -E "ERROR|FUZZ CHECK|SUMMARY|Test unit written" "$log" | head -5
        return 1
    fi >"$build/artifacts/$t.summary"
}

# FUZZ_JOBS targets at a time (default: one per core); the summaries in the order of the targets.
jobs=${FUZZ_JOBS:-$(nproc)}
failed=0
for ((i = 0; i < ${#targets[@]}; i += jobs)); do
    group=("${targets[@]:i:jobs}")
    pids=()
    for t in "${group[@]}"; do
        run_one "$t" &
        pids+=($!)
    done
    for k in "${!group[@]}"; do
        wait "${pids[$k]}" || failed=1
        cat "$build/artifacts/${group[$k]}.summary"
    done
done
exit $failed
