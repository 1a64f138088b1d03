#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the program (Release) and starts it with the bundled catalogue. Only
# what running it needs is installed and built: TRX and the files it reads
# beside itself (catalogue, icon, help file, help viewer, print module,
# report page); no tests, no commands.
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/deps.sh
TRX_PACKAGES=("${TRX_RUN_PACKAGES[@]}")
trx_install_deps
cmake -S . -B build/release -DCMAKE_BUILD_TYPE=Release -DTRX_TESTS=OFF
cmake --build build/release -j"$(nproc)" --target TRX
# The program reads icon.ico from the working folder: start it from its own.
cd build/release/bin
exec ./TRX
