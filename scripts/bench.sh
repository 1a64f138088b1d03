#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the benchmarks (Release) and prints their figures. Extra arguments go
# to every Google Benchmark run, e.g. --benchmark_filter=BM_Load. The build
# folder is build/bench unless BENCH_BUILD_DIR names another.
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/deps.sh
TRX_PACKAGES+=(libbenchmark-dev libxcb1-dev)
trx_install_deps
root=$(pwd)
build=$(realpath -m "${BENCH_BUILD_DIR:-build/bench}")
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DTRX_BENCHMARKS=ON
cmake --build "$build" -j"$(nproc)" --target bench_trx bench_chart bench_check bench_startup \
  bench_files trx-sheet trx_one_line
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
echo "== trx-sheet for the bundled catalogue, text and JSON, beside a Qt Core program printing one line"
"$root/scripts/bench-sheet.sh" "$build/benchmarks/trx_one_line" "$build/bin/trx-sheet" \
  "$root/data/TRX.ini"
