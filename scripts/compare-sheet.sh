#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs two builds of trx-sheet (the hardware extended type's and the software
# one's) on the bundled catalogue and the test catalogues, every aircraft
# with a few edits and fuel burnt, and fails on any difference in the JSON or the exit
# status.
#
# Usage: scripts/compare-sheet.sh HARDWARE_TRX_SHEET SOFTWARE_TRX_SHEET
set -euo pipefail
[ $# -eq 2 ] || {
  echo "usage: $0 HARDWARE_TRX_SHEET SOFTWARE_TRX_SHEET" >&2
  exit 2
}
hard=$1
soft=$2
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export LC_ALL=C

edits=(
  ""
  "--weight 2=130 --position 2=0.8"
  "--weight 2=1E4000"
  "--position 2=1.0000000000000000001 --weight 3=0.1"
  "--weight 2=abc"
  "--taxi 2=1L --burn 2=0.1"
  "--burn 2=24gal --burn 3=7"
)
runs=0
differ=0
for catalogue in "$root/data/TRX.ini" "$root"/tests/catalogues/*.ini; do
  mapfile -t names < <("$hard" --catalogue "$catalogue" --list)
  for name in "${names[@]}"; do
    for edit in "${edits[@]}"; do
      # shellcheck disable=SC2086 # the edits are split into their words
      set -- --json --catalogue "$catalogue" $edit -- "$name"
      hard_status=0
      soft_status=0
      hard_out=$("$hard" "$@" 2>/dev/null) || hard_status=$?
      soft_out=$("$soft" "$@" 2>/dev/null) || soft_status=$?
      runs=$((runs + 1))
      if [ "$hard_out" != "$soft_out" ] || [ "$hard_status" != "$soft_status" ]; then
        differ=$((differ + 1))
        echo "differs: $catalogue [$name] $edit (status $hard_status and $soft_status)" >&2
        diff <(echo "$hard_out") <(echo "$soft_out") >&2 || true
      fi
    done
  done
done
echo "trx-sheet: $runs runs compared, $differ differ"
[ "$differ" -eq 0 ]
