#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the benchmarks (Release) and prints their figures. Extra arguments go
# to every Google Benchmark run, e.g. --benchmark_filter=BM_Load. The build
# folder is build/bench unless BENCH_BUILD_DIR names another.
#
# scripts/bench.sh --check-memory [TRX-CHECK] prints only the peak resident
# memory of trx-check (this tree's Release build, or the program named) on
# large catalogues written into a scratch folder: 100,000 and 1,000,000 empty
# sections, and a sound catalogue of about 200 MB.
set -euo pipefail
cd "$(dirname "$0")/.."

# Peak resident memory of trx-check on large catalogues, in MB.
check_memory() {
  local program=$1 scratch
  scratch=$(mktemp -d)
  trap 'rm -rf "$scratch"' RETURN
  python3 - "$scratch" data/TRX.ini <<'PY'
import sys
folder, bundled = sys.argv[1], open(sys.argv[2]).read()
for count, name in ((10**5, "empty-100k.ini"), (10**6, "empty-1m.ini")):
    with open(f"{folder}/{name}", "w") as f:
        f.write("".join("[%05x]\n" % i for i in range(count)))
# The bundled worked example, its section repeated under distinct names.
start = bundled.index("[Trainer]\n")
body = bundled[start + len("[Trainer]\n"):bundled.index("\n\n", start) + 2]
with open(f"{folder}/sound-200mb.ini", "w") as f:
    written, n = 0, 0
    while written < 200 * 10**6:
        n += 1
        section = "[Trainer %06d]\n" % n + body
        f.write(section)
        written += len(section)
PY
  local file args
  for file in empty-100k.ini empty-1m.ini sound-200mb.ini; do
    for args in "" "--json"; do
      local size kb status
      size=$(stat -c %s "$scratch/$file")
      status=0
      /usr/bin/time -f %M -o "$scratch/peak" "$program" $args "$scratch/$file" >/dev/null \
        2>&1 || status=$?
      kb=$(tail -n 1 "$scratch/peak")
      awk -v f="$file" -v a="${args:--}" -v s="$size" -v k="$kb" -v e="$status" 'BEGIN {
        printf "%-16s %-7s file %6.1f MB  peak resident %7.1f MB  exit %s\n", f, a, s / 1e6,
          k * 1024 / 1e6, e }'
    done
  done
}

if [[ ${1:-} == --check-memory ]]; then
  if [[ -n ${2:-} ]]; then
    check_memory "$(realpath "$2")"
  else
    build=$(realpath -m "${BENCH_BUILD_DIR:-build/bench}")
    cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release >/dev/null
    cmake --build "$build" -j"$(nproc)" --target trx-check >/dev/null
    check_memory "$build/bin/trx-check"
  fi
  exit 0
fi
. scripts/deps.sh
TRX_PACKAGES+=(libbenchmark-dev libxcb1-dev)
trx_install_deps
root=$(pwd)
build=$(realpath -m "${BENCH_BUILD_DIR:-build/bench}")
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DTRX_BENCHMARKS=ON
cmake --build "$build" -j"$(nproc)" --target bench_trx bench_chart bench_check bench_startup \
  bench_files trx-check trx-sheet trx_one_line trx_one_line_pdf
# Headless, from the folder holding icon.ico, as the program runs.
cd "$build/bin"
export QT_QPA_PLATFORM=offscreen
echo "== Main window: load, compute, chart, catalogue listing, start-up"
"$build/benchmarks/bench_trx" "$@"
echo "== Chart paint, largest aircraft (1023 envelope vertices and slots)"
"$build/benchmarks/bench_chart" "$@"
echo "== Catalogue check, 200 aircraft of 1023 slots (about 2.5 MB)"
"$build/benchmarks/bench_check" "$@"
echo "== Start-up to the mapped window, TRX beside a bare Qt window (Xvfb, xcb)"
"$root/tests/run-on-xvfb.sh" "$build/benchmarks/bench_startup" "$@"
echo "== Reading large catalogues, long lists and damaged help files"
"$build/benchmarks/bench_files" "$@"
echo "== trx-sheet for the bundled catalogue, text and JSON beside a Qt Core program printing one line, PDF beside a one-line PDF"
"$root/scripts/bench-sheet.sh" "$build/benchmarks/trx_one_line" "$build/bin/trx-sheet" \
  "$root/data/TRX.ini" 200 "$build/benchmarks/trx_one_line_pdf"
echo "== trx-check's peak resident memory on large catalogues"
check_memory "$build/bin/trx-check"
