#!/usr/bin/env bash
# Installs what is missing, builds and runs every test: first the optimised build, then the
# AddressSanitizer/UndefinedBehaviorSanitizer build, both with warnings as errors. `--fast`
# skips the sanitizer pass. The sources must be formatted as .clang-format says.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
scripts/check-format.sh

jobs=$(nproc)
run_suite() {
    local dir=$1; shift
    local start=$SECONDS
    cmake -S . -B "$dir" -G Ninja "$@" >/dev/null
    cmake --build "$dir" -j "$jobs"
    local built=$SECONDS
    (cd "$dir" && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j "$jobs")
    echo "== $dir: built in $((built - start)) s, tested in $((SECONDS - built)) s"
}

# Line tables are enough for a failure's backtrace; full debug information costs a third of
# the compile time. Each target is compiled as a few large files rather than many small ones
# (each small one read the same headers again), and linked by the faster linker.
common=(-DZAV_WERROR=ON -DCMAKE_UNITY_BUILD=ON -DCMAKE_EXE_LINKER_FLAGS=-fuse-ld=lld)
run_suite build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O2 -g1 -DNDEBUG" \
    "${common[@]}"
if [[ "${1:-}" != "--fast" ]]; then
    ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1 \
        LSAN_OPTIONS=suppressions=$PWD/scripts/lsan.supp \
        run_suite build-sanitize -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG=-g1 -DZAV_SANITIZE=ON \
        -DZAV_BENCH=OFF "${common[@]}"
fi
