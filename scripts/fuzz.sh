#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the libFuzzer targets of fuzz/ with clang and runs each one for a
# while against a copy of its seed corpus (the committed corpus is never
# written). Prints each target's executions and whether it found anything;
# exits non-zero on any finding.
#
# Usage: scripts/fuzz.sh [seconds per target, default 30] [build folder,
#        default build/fuzz] [target...]   (no target: all of them)
# TRX_FUZZ_SEED=n fixes libFuzzer's seed, so that a run explores the same
# inputs again (the CI run does); without it every run explores new ones.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
seconds=${1:-30}
build=${2:-$root/build/fuzz}
[ $# -gt 0 ] && shift
[ $# -gt 0 ] && shift
case "$build" in /*) ;; *) build=$PWD/$build ;; esac

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
    fuzz_ListField fuzz_ProfileInteger fuzz_ChmReader fuzz_ChmFile fuzz_IconCheck)
fi

export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}

failed=0
for target in "${targets[@]}"; do
  work=$build/fuzz-run/$target
  rm -rf "$work"
  mkdir -p "$work/corpus" "$work/findings"
  cp -r "$root/fuzz/corpus/$target/." "$work/corpus/"
  # Every damaged help file a test keeps is a seed too, so that each run
  # checks them again under the fuzzer's memory limit.
  [ "$target" = fuzz_ChmFile ] && cp "$root"/tests/data/chm/*.chm "$work/corpus/"
  seed=()
  [ -n "${TRX_FUZZ_SEED:-}" ] && seed=(-seed="$TRX_FUZZ_SEED")
  # The help file probe may take its whole time limit (ChmProbe.h: 10 s, and
  # the viewer waits 11 s) on a file the viewer then rightly calls damaged.
  unit_timeout=10
  [ "$target" = fuzz_ChmFile ] && unit_timeout=25
  status=0
  (cd "$work" && "$build/fuzz/$target" -max_total_time="$seconds" -timeout="$unit_timeout" -rss_limit_mb=2048 \
    -print_final_stats=1 "${seed[@]}" -artifact_prefix="$work/findings/" "$work/corpus") >"$work/log.txt" 2>&1 ||
    status=$?
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$work/log.txt" | tail -n 1)
  findings=$(find "$work/findings" -type f | wc -l)
  if [ "$status" -ne 0 ] || [ "$findings" -ne 0 ]; then
    failed=1
    echo "$target: FINDING after ${runs:-?} executions (exit $status); input in $work/findings, log $work/log.txt"
    grep -m 3 -E "ERROR|runtime error|property broken|deadly signal" "$work/log.txt" | sed 's/^/    /' || true
  else
    echo "$target: ${runs:-?} executions in ${seconds} s, no finding"
  fi
done
exit "$failed"
