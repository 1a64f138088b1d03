#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Times trx-sheet's text and JSON output against a Qt Core program that prints
# one line: the three run in turn, round after round, so that whatever else
# the machine does falls on all of them alike. Prints each one's median and
# the ratios to the yardstick.
#
# Then the same for a PDF: trx-sheet --pdf against a Qt program that writes a
# one-line PDF (ONE_LINE_PDF_PROGRAM, when given).
#
# Usage: scripts/bench-sheet.sh ONE_LINE_PROGRAM TRX_SHEET CATALOGUE [ROUNDS, default 200]
#                               [ONE_LINE_PDF_PROGRAM [PDF ROUNDS, default 30]]
set -euo pipefail
[ $# -ge 3 ] || {
  echo "usage: $0 ONE_LINE_PROGRAM TRX_SHEET CATALOGUE [ROUNDS]" >&2
  exit 2
}
one=$1
sheet=$2
catalogue=$3
rounds=${4:-200}
export LC_ALL=C

declare -a t_one t_text t_json
for ((i = 0; i < rounds + 5; i++)); do
  a=${EPOCHREALTIME/./}
  "$one" >/dev/null
  b=${EPOCHREALTIME/./}
  "$sheet" --catalogue "$catalogue" Trainer >/dev/null
  c=${EPOCHREALTIME/./}
  "$sheet" --catalogue "$catalogue" --json Trainer >/dev/null
  d=${EPOCHREALTIME/./}
  # The first rounds warm the caches.
  if ((i >= 5)); then
    t_one+=($((b - a)))
    t_text+=($((c - b)))
    t_json+=($((d - c)))
  fi
done
median() {
  printf '%s\n' "$@" | sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'
}
m_one=$(median "${t_one[@]}")
m_text=$(median "${t_text[@]}")
m_json=$(median "${t_json[@]}")
printf '%-28s %8d us\n' "Qt Core, one line" "$m_one"
printf '%-28s %8d us  %.2fx\n' "trx-sheet Trainer" "$m_text" "$(awk -v a="$m_text" -v b="$m_one" "BEGIN { print a / b }")"
printf '%-28s %8d us  %.2fx\n' "trx-sheet --json Trainer" "$m_json" "$(awk -v a="$m_json" -v b="$m_one" "BEGIN { print a / b }")"

[ $# -ge 5 ] || exit 0
one_pdf=$5
pdf_rounds=${6:-30}
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
declare -a t_onepdf t_pdf
for ((i = 0; i < pdf_rounds + 2; i++)); do
  a=${EPOCHREALTIME/./}
  "$one_pdf" "$scratch/one.pdf" >/dev/null 2>&1
  b=${EPOCHREALTIME/./}
  "$sheet" --catalogue "$catalogue" --pdf "$scratch/sheet.pdf" Trainer >/dev/null 2>&1
  c=${EPOCHREALTIME/./}
  if ((i >= 2)); then
    t_onepdf+=($((b - a)))
    t_pdf+=($((c - b)))
  fi
done
m_onepdf=$(median "${t_onepdf[@]}")
m_pdf=$(median "${t_pdf[@]}")
printf '%-28s %8d us\n' "Qt, a one-line PDF" "$m_onepdf"
printf '%-28s %8d us  %.2fx\n' "trx-sheet --pdf Trainer" "$m_pdf" "$(awk -v a="$m_pdf" -v b="$m_onepdf" "BEGIN { print a / b }")"
