#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the program (Release) and starts it with the bundled catalogue.
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/deps.sh
trx_install_deps
cmake -S . -B build/release -DCMAKE_BUILD_TYPE=Release
cmake --build build/release -j"$(nproc)"
# The program reads icon.ico from the working folder: start it from its own.
cd build/release/bin
exec ./TRX
