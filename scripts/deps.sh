#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the Debian 12 packages the build and the tests need, when missing.
set -euo pipefail

TRX_PACKAGES=(
  cmake g++ make pkg-config
  qt6-base-dev qt6-base-dev-tools libgl-dev
  libchm-dev fp-utils libmpfr-dev
  xvfb xauth poppler-utils imagemagick fonts-dejavu-core
  # the desktop tests: xprop, typing, the session bus, the accessibility bus and a client
  x11-utils xdotool dbus at-spi2-core python3-pyatspi
  dpkg-dev file ccache
  lintian desktop-file-utils appstream
)

trx_install_deps() {
  local missing=()
  local p
  for p in "${TRX_PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  local sudo=()
  [ "$(id -u)" -ne 0 ] && sudo=(sudo)
  echo "Installing: ${missing[*]}"
  "${sudo[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
}
