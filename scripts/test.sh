#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds and runs every test headless: the suite in the normal build, the
# number tests with extended precision in software, the suite built with
# AddressSanitizer and UndefinedBehaviorSanitizer (any report fails it), then
# each fuzz target for a fixed number of inputs.
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/deps.sh
TRX_PACKAGES+=(clang libclang-rt-14-dev libbenchmark-dev libxcb1-dev)
trx_install_deps

jobs=$(nproc)
# A compiler cache, when the machine has one, makes a second build of the
# same sources cheap; nothing depends on it.
if command -v ccache >/dev/null 2>&1; then
  export CMAKE_CXX_COMPILER_LAUNCHER=ccache CMAKE_C_COMPILER_LAUNCHER=ccache
  # Paths relative to the clone, so that another clone of the same sources
  # finds the same entries.
  export CCACHE_BASEDIR=$PWD CCACHE_NOHASHDIR=1
fi
# Each stage says when it starts, in seconds since the command began.
stage() { echo "== $1 (at ${SECONDS} s)"; }

stage "Licence lines"
./scripts/check-licence.sh
./scripts/check-layers.sh
./scripts/check-long-double.sh
suite() {
  local dir=$1
  shift
  cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=Debug "$@"
  cmake --build "$dir" -j"$jobs"
  (cd "$dir" && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j"$jobs")
}

stage "Tests"
# The benchmarks are built too, so that they keep compiling; scripts/bench.sh runs them.
suite build/test -DTRX_BENCHMARKS=ON

stage "Number tests with extended precision in software"
# Every processor but x86-64 computes extended precision in software (GNU
# MPFR); forced here, the tests of the numbers and of what is computed from
# them run again on it. Only those tests are built.
soft_tests=(tst_NumConv tst_ListField tst_Balance tst_Editing tst_FlightJudgement)
cmake -S . -B build/soft -DCMAKE_BUILD_TYPE=Debug -DTRX_SOFT_EXTENDED=ON
cmake --build build/soft -j"$jobs" --target "${soft_tests[@]}" trx-sheet
(cd build/soft && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j"$jobs" \
  -R "^($(IFS='|' && echo "${soft_tests[*]}"))\$")
# The loading sheet command prints the same JSON, byte for byte, on both.
./scripts/compare-sheet.sh build/test/bin/trx-sheet build/soft/bin/trx-sheet

stage "arm64"
# The same tests on 64-bit ARM under qemu-user, and the commands' output
# compared with this build's, byte for byte.
./scripts/test-arm64.sh

stage "Tests with AddressSanitizer and UndefinedBehaviorSanitizer"
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1:strict_string_checks=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
suite build/asan -DTRX_SANITIZE=ON

stage "Fuzzing"
# A fixed number of inputs per target and a fixed seed: the same inputs on
# every run and every machine, so that a change, not chance or the machine's
# speed, decides whether this stage passes. scripts/fuzz.sh <seconds> explores.
./scripts/fuzz.sh fixed build/fuzz
echo "== All stages passed in ${SECONDS} s"
