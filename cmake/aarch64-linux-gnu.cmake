# SPDX-License-Identifier: GPL-3.0-or-later
# Cross build for 64-bit ARM Linux (aarch64) on an x86-64 Debian host, with
# Debian's cross compiler (g++-aarch64-linux-gnu) against Debian's arm64
# packages unpacked into a sysroot (trx_arm64_sysroot in scripts/deps.sh, run
# by scripts/test-arm64.sh):
#
#   cmake -S . -B build/arm64 --toolchain cmake/aarch64-linux-gnu.cmake \
#         -DTRX_ARM64_SYSROOT=<sysroot>
#
# The tools that run during the build (moc, chmcmd) are the host's; tests and
# commands run under qemu-user (qemu-aarch64), which CTest puts in front of them.
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR aarch64)
set(CMAKE_C_COMPILER aarch64-linux-gnu-gcc)
set(CMAKE_CXX_COMPILER aarch64-linux-gnu-g++)

# The sysroot: -DTRX_ARM64_SYSROOT, the environment variable of that name, or
# build/arm64-sysroot of this source tree. The environment carries it into
# CMake's own test builds.
if(NOT TRX_ARM64_SYSROOT)
  if(DEFINED ENV{TRX_ARM64_SYSROOT})
    set(TRX_ARM64_SYSROOT "$ENV{TRX_ARM64_SYSROOT}")
  else()
    get_filename_component(TRX_ARM64_SYSROOT "${CMAKE_CURRENT_LIST_DIR}/../build/arm64-sysroot" ABSOLUTE)
  endif()
endif()
if(NOT EXISTS "${TRX_ARM64_SYSROOT}/usr/lib/aarch64-linux-gnu")
  message(FATAL_ERROR "No arm64 sysroot at ${TRX_ARM64_SYSROOT}: scripts/test-arm64.sh makes one")
endif()
set(ENV{TRX_ARM64_SYSROOT} "${TRX_ARM64_SYSROOT}")
set(CMAKE_SYSROOT "${TRX_ARM64_SYSROOT}")
set(CMAKE_FIND_ROOT_PATH "${TRX_ARM64_SYSROOT}")
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Qt's build tools come from the host's Qt.
set(QT_HOST_PATH /usr)
set(QT_HOST_PATH_CMAKE_DIR /usr/lib/${CMAKE_HOST_SYSTEM_PROCESSOR}-linux-gnu/cmake)

# pkg-config (GNU MPFR) reads the sysroot's .pc files only.
set(ENV{PKG_CONFIG_LIBDIR}
    "${TRX_ARM64_SYSROOT}/usr/lib/aarch64-linux-gnu/pkgconfig:${TRX_ARM64_SYSROOT}/usr/share/pkgconfig")
set(ENV{PKG_CONFIG_SYSROOT_DIR} "${TRX_ARM64_SYSROOT}")

# The loader and the libraries are found in the sysroot first; Qt, which does
# not see its plugin folder through qemu's path translation, is told it.
set(CMAKE_CROSSCOMPILING_EMULATOR qemu-aarch64 -L "${TRX_ARM64_SYSROOT}"
    -E "QT_PLUGIN_PATH=${TRX_ARM64_SYSROOT}/usr/lib/aarch64-linux-gnu/qt6/plugins")
