#!/usr/bin/env bash
# Installs what is missing, builds and runs every test twice: in the optimised build and in the
# AddressSanitizer/UndefinedBehaviorSanitizer build, both with warnings as errors. `--fast`
# runs the optimised pass alone. The sources must be formatted as .clang-format says.
#
# Most tests wait on devices and timers rather than compute, so the optimised build is
# compiled at the lowest priority beside the sanitizer pass's build and tests: it takes only
# the time they leave, and the tests' timings stay as on an idle machine.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
scripts/check-format.sh

jobs=$(nproc)
# Twice the cores beside a build, three times with nothing else running: the tests spend most
# of their time waiting. The rows that time the program's answers run alone whatever this says.
test_jobs=$((2 * jobs))
alone_jobs=$((3 * jobs))

# Line tables are enough for a failure's backtrace; full debug information costs a third of
# the compile time. Each target is compiled as a few large files rather than many small ones
# (each small one read the same headers again), and linked by the faster linker. Clang
# compiles this tree in two thirds of GCC's processor time under the sanitizers and at -O2
# alike (315 s against 471 s, 285 s against 380 s on two cores), and its warnings are as strict;
# a user's build and the package keep the system's default compiler.
common=(-G Ninja -DZAV_WERROR=ON -DCMAKE_UNITY_BUILD=ON -DCMAKE_EXE_LINKER_FLAGS=-fuse-ld=lld
    -DCMAKE_CXX_COMPILER=clang++-14)
optimised=(-DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O2 -g1 -DNDEBUG")
sanitized=(-DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG=-g1 -DZAV_SANITIZE=ON -DZAV_BENCH=OFF)
# Freed memory stays poisoned until 64 MB more has been freed, rather than 256 MB: a GUI test
# frees an image per painted window, and at 256 MB each such process wrote a quarter of a
# gigabyte of fresh pages first, spending half its time in page faults on this kind of machine.
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:quarantine_size_mb=64
export UBSAN_OPTIONS=print_stacktrace=1
export LSAN_OPTIONS=suppressions=$PWD/scripts/lsan.supp

# The rows labelled "timed" measure how soon the program answers a screen reader: they run
# one at a time, with no other test beside them (a build left only idle time takes what they
# leave): in the sanitizer pass after its other rows, in the optimised pass before them, beside
# the rest of the optimised build. They run on one processor: a read is hundreds of round trips
# between the reader, the bus and the program, and on a virtual machine a wake-up sent to the
# other processor can cost more than the program's own answer (a read of the modem page under
# the sanitizers took 0.7-1.2 s across two processors here, 0.5-0.75 s on one). The other rows
# run side by side, at a lower priority than the build of the sanitizer pass.
timed_cpu=$(taskset -pc $$ | sed 's/.*: *//; s/[-,].*//')
# run_tests DIR WHAT NICENESS CTEST-ARGS...
run_tests() {
    local dir=$1 what=$2 niceness=$3
    shift 3
    local start=$SECONDS status=0 pin=()
    [[ " $* " == *" -L timed "* ]] && pin=(taskset -c "$timed_cpu")
    (cd "$dir" && QT_QPA_PLATFORM=offscreen "${pin[@]}" nice -n "$niceness" ctest \
        --output-on-failure "$@") || status=$?
    echo "== $dir: $what tested in $((SECONDS - start)) s"
    return $status
}
others=(-LE timed -j "$test_jobs")
others_alone=(-LE timed -j "$alone_jobs")
timed=(-L timed)

cmake -S . -B build "${common[@]}" "${optimised[@]}" >/dev/null
if [[ "${1:-}" == "--fast" ]]; then
    start=$SECONDS
    cmake --build build -j "$jobs"
    echo "== build: built in $((SECONDS - start)) s"
    status=0
    run_tests build "other rows" 0 "${others_alone[@]}" || status=$?
    run_tests build "timed rows" 0 "${timed[@]}" || status=$?
    exit $status
fi
cmake -S . -B build-sanitize "${common[@]}" "${sanitized[@]}" >/dev/null

# The optimised build makes the timed rows' executable first, so that they can run beside the
# rest of it as soon as the sanitizer pass is done; a pipe opened at both ends here tells when
# that executable is built, without the builder ever waiting for this side.
timed_targets=(editors_tst_wait_alive)
# Only the time nothing else wants: a program woken beside it takes the processor at once.
idle() { nice -n 19 chrt --idle 0 "$@"; }
ready=build/.timed-built
rm -f "$ready"
mkfifo "$ready"
exec {timed_built}<>"$ready"
start=$SECONDS
(
    first=0
    idle cmake --build build -j "$jobs" --target "${timed_targets[@]}" || first=$?
    echo "$first" >"$ready"
    [[ $first -eq 0 ]] && idle cmake --build build -j "$jobs"
) >build/build.log 2>&1 &
builder=$!
trap 'pkill -P $builder 2>/dev/null; kill $builder 2>/dev/null || true' EXIT
cmake --build build-sanitize -j "$jobs"
echo "== build-sanitize: built in $((SECONDS - start)) s"
status=0
run_tests build-sanitize "other rows" 10 "${others[@]}" || status=$?
run_tests build-sanitize "timed rows" 0 "${timed[@]}" || status=$?
read -r first <&"$timed_built"
if [[ $first -eq 0 ]]; then
    echo "== build: timed rows' executable built in $((SECONDS - start)) s"
    run_tests build "timed rows" 0 "${timed[@]}" || status=$?
fi
built=0
wait $builder || built=$?
trap - EXIT
rm -f "$ready"
if [[ $built -ne 0 ]]; then
    cat build/build.log
    exit $built
fi
echo "== build: built in $((SECONDS - start)) s, beside the sanitizer pass"
run_tests build "other rows" 0 "${others_alone[@]}" || status=$?
exit $status
