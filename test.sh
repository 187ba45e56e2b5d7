#!/usr/bin/env bash
# Installs what is missing, builds and runs every test with ctest: the
# release build, the same tests under AddressSanitizer + UBSan, and a bounded
# run of each fuzzer. MORVANE1_QUICK=1 runs the release tests only.
set -euo pipefail
cd "$(dirname "$0")"
source tools/deps.sh
morvane1_install_missing "${MORVANE1_TEST_PACKAGES[@]}" clang libclang-rt-14-dev

cmake --preset release
cmake --build --preset release
ctest --preset release -j2

[ "${MORVANE1_QUICK:-0}" = 1 ] && exit 0

# Qt and fontconfig keep caches for the life of the process; only leaks in
# the project's own code count.
export LSAN_OPTIONS="suppressions=$PWD/tools/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
cmake --preset asan
cmake --build --preset asan
# The README's examples are checked once, in the release pass.
ctest --preset asan -j2 --label-exclude 'soak|speed|package|install|readme'

tools/fuzz.sh
