#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the libFuzzer targets of fuzz/ with clang and runs each one against a
# copy of its seed corpus (the committed corpus is never written). Prints each
# target's executions, coverage and whether it found anything; exits non-zero
# on any finding.
#
# Usage: scripts/fuzz.sh [seconds per target, default 30] [build folder,
#        default build/fuzz] [target...]   (no target: all of them)
#   Explores: each target runs for that long, with a new seed on every run
#   unless TRX_FUZZ_SEED=n fixes it.
# Usage: scripts/fuzz.sh fixed [build folder] [target...]
#   The test stage: each target runs the number of inputs the table below
#   gives it, with seed TRX_FUZZ_SEED (default 1). The same commit gives the
#   same inputs, executions and coverage on any machine, however fast.
set -euo pipefail

# Inputs per target in the fixed stage, each about 20 s on a 2-core machine
# (executions a target reached in 20 s with seed 1). A target not listed runs
# DefaultRuns: enough for a slow target to reach well past its seeds.
declare -A FixedRuns=(
  [fuzz_StrToFloat]=700000
  [fuzz_ExtendedDiff]=380000
  [fuzz_FloatToStr]=650000
  [fuzz_IniFile]=3000
  [fuzz_CatalogueCheck]=4000
  [fuzz_ListField]=95000
  [fuzz_ProfileInteger]=3500000
  [fuzz_ChmReader]=15000
  [fuzz_ChmFile]=9000
  [fuzz_IconCheck]=220000
  [fuzz_SheetOptions]=12000
  [fuzz_CheckOptions]=60000
  [fuzz_LoadingFile]=40000
)
DefaultRuns=2000
# libFuzzer's limit on one input (seconds), where a target needs its own. The
# help file probe may take its whole time limit (ChmProbe.h: 10 s, and the
# viewer waits 11 s) on a file the viewer then rightly calls damaged.
declare -A Timeouts=(
  [fuzz_ChmFile]=25
)
DefaultTimeout=10

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
seconds=${1:-30}
build=${2:-$root/build/fuzz}
[ $# -gt 0 ] && shift
[ $# -gt 0 ] && shift
case "$build" in /*) ;; *) build=$PWD/$build ;; esac
case "$seconds" in
  fixed) fixed=1 ;;
  *[!0-9]* | '')
    echo "usage: $0 [seconds | fixed] [build folder] [target...]" >&2
    exit 2
    ;;
  *) fixed=0 ;;
esac

# shellcheck source=deps.sh
source "$root/scripts/deps.sh"
TRX_PACKAGES+=(clang libclang-rt-14-dev)
trx_install_deps

cmake -S "$root" -B "$build" -DCMAKE_CXX_COMPILER=clang++ \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTRX_FUZZ=ON >/dev/null
cmake --build "$build" --target fuzz -j"$(nproc)" >"$build/fuzz-build.log" 2>&1 || {
  tail -n 40 "$build/fuzz-build.log"
  exit 1
}

if [ $# -gt 0 ]; then
  targets=("$@")
else
  targets=(fuzz_StrToFloat fuzz_ExtendedDiff fuzz_FloatToStr fuzz_IniFile fuzz_CatalogueCheck
    fuzz_ListField fuzz_ProfileInteger fuzz_ChmReader fuzz_ChmFile fuzz_IconCheck
    fuzz_SheetOptions fuzz_CheckOptions fuzz_LoadingFile)
fi

export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
# What makes two runs of the same inputs differ, turned off for the fixed
# stage: mutations guided by the values the code compares (addresses among
# them, which other threads' allocations move), addresses laid out at
# random, Qt's random hash seed, and libFuzzer rereading its corpus folder
# every second, at a point in the run that depends on the machine's speed.
runner=()
if [ "$fixed" = 1 ]; then
  TRX_FUZZ_SEED=${TRX_FUZZ_SEED:-1}
  export QT_HASH_SEED=0
  if setarch "$(uname -m)" -R true 2>/dev/null; then
    runner=(setarch "$(uname -m)" -R)
  else
    echo "note: address randomisation cannot be turned off here; coverage may differ between runs"
  fi
fi

# One target: its result line goes to result.txt in its folder, and a file
# "failed" beside it when it found something.
run_target() {
  local target=$1
  local work=$build/fuzz-run/$target
  rm -rf "$work"
  mkdir -p "$work/corpus" "$work/findings"
  cp -r "$root/fuzz/corpus/$target/." "$work/corpus/"
  # Every damaged help file a test keeps is a seed too, so that each run
  # checks them again under the fuzzer's memory limit.
  [ "$target" = fuzz_ChmFile ] && cp "$root"/tests/data/chm/*.chm "$work/corpus/"
  local options=(-timeout="${Timeouts[$target]:-$DefaultTimeout}" -rss_limit_mb=2048 -print_final_stats=1
    -artifact_prefix="$work/findings/")
  [ -n "${TRX_FUZZ_SEED:-}" ] && options+=(-seed="$TRX_FUZZ_SEED")
  if [ "$fixed" = 1 ]; then
    options+=(-runs="${FixedRuns[$target]:-$DefaultRuns}" -reload=0 -use_cmp=0 -use_memmem=0)
  else
    options+=(-max_total_time="$seconds")
  fi
  local status=0
  local started=$SECONDS
  (cd "$work" && "${runner[@]}" "$build/fuzz/$target" "${options[@]}" "$work/corpus") >"$work/log.txt" 2>&1 ||
    status=$?
  local took=$((SECONDS - started))
  local runs reached findings
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$work/log.txt" | tail -n 1)
  # "#2541 DONE cov: 576 ft: 1052 corp: 52/343Kb ..."
  reached=$(sed -n 's/^#[0-9]*[[:space:]]*DONE[[:space:]]*\(cov: [0-9]* ft: [0-9]* corp: [^ ]*\).*/\1/p' \
    "$work/log.txt" | tail -n 1)
  findings=$(find "$work/findings" -type f | wc -l)
  if [ "$status" -ne 0 ] || [ "$findings" -ne 0 ]; then
    touch "$work/failed"
    {
      echo "$target: FINDING after ${runs:-?} executions (exit $status); input in $work/findings, log $work/log.txt"
      grep -m 3 -E "ERROR|runtime error|property broken|deadly signal" "$work/log.txt" | sed 's/^/    /' || true
    } >"$work/result.txt"
  else
    echo "$target: ${runs:-?} executions, ${reached:-no final stats}, in ${took} s, no finding" >"$work/result.txt"
  fi
  return 0
}

# The targets run side by side, one per core: each is one process with
# its own fixed inputs, so the results do not depend on the others.
for target in "${targets[@]}"; do
  while [ "$(jobs -rp | wc -l)" -ge "$(nproc)" ]; do
    wait -n || true
  done
  run_target "$target" &
done
wait
failed=0
for target in "${targets[@]}"; do
  cat "$build/fuzz-run/$target/result.txt"
  if [ -f "$build/fuzz-run/$target/failed" ]; then
    failed=1
  fi
done
exit "$failed"
