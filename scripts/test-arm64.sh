#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The arm64 stage: the same numbers on a processor without the x87 format.
# Cross-builds the number tests and the commands for 64-bit ARM (where
# extended precision is computed in software), runs the tests under
# qemu-user, and compares what trx-check and trx-sheet print
# for many catalogues with what the x86-64 build prints, byte for byte.
#
#   scripts/test-arm64.sh
#
# The x86-64 commands come from the build folder TRX_HOST_BUILD (default
# build/test, which the test command has just built); one that is not
# configured yet is configured here, and the commands are brought up to date.
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/deps.sh
trx_install_arm64_deps
sysroot=$PWD/build/arm64-sysroot
trx_arm64_sysroot "$sysroot"
# The commands' JSON parser and schema validator are headers only, the same
# on every architecture: the host's copies serve (their Debian packages
# would bring a second Qt and more into the sysroot).
mkdir -p "$sysroot/usr/include"
cp -r /usr/include/valijson /usr/include/nlohmann "$sysroot/usr/include/"

jobs=$(nproc)
if command -v ccache >/dev/null 2>&1; then
  export CMAKE_CXX_COMPILER_LAUNCHER=ccache CMAKE_C_COMPILER_LAUNCHER=ccache
fi

# Optimised as a release is, so that what the compiler does with floating
# point on this processor is what a user gets; without debug information,
# which only slows the build.
build=build/arm64
cmake -S . -B "$build" --toolchain cmake/aarch64-linux-gnu.cmake -DTRX_ARM64_SYSROOT="$sysroot" \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O2 -DNDEBUG" >/dev/null

tests=(tst_NumConv tst_ListField tst_Balance tst_Editing)
commands=(trx-check trx-sheet)
cmake --build "$build" -j"$jobs" --target "${tests[@]}" "${commands[@]}"

# CTest runs each test through qemu-aarch64 (the toolchain file's emulator),
# from the bin folder with TRX's run-time files, as on x86-64.
regex="^($(IFS='|' && echo "${tests[*]}"))\$"
listed=$(cd "$build" && ctest -N -R "$regex" | sed -n 's/^Total Tests: //p')
if [ "$listed" != "${#tests[@]}" ]; then
  echo "arm64: $listed of the ${#tests[@]} tests are registered" >&2
  exit 1
fi
(cd "$build" && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j"$jobs" -R "$regex")
echo "arm64: ${#tests[@]} tests passed"

host=${TRX_HOST_BUILD:-build/test}
if [ ! -f "$host/CMakeCache.txt" ]; then
  cmake -S . -B "$host" -DCMAKE_BUILD_TYPE=Debug >/dev/null
fi
cmake --build "$host" -j"$jobs" --target "${commands[@]}"

python3 scripts/compare-arm64.py --host-bin "$host/bin" --arm64-bin "$build/bin" \
  --sysroot "$sysroot" --jobs "$jobs" --sheet
