#!/usr/bin/env bash
# Builds everything and runs every test headless.
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/deps.sh
trx_install_deps
cmake -S . -B build/test -DCMAKE_BUILD_TYPE=Debug
cmake --build build/test -j"$(nproc)"
cd build/test
QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j"$(nproc)"
