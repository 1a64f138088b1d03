#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the Debian 12 packages the build and the tests need, when missing.
set -euo pipefail

# What building and running the program needs (scripts/run.sh).
TRX_RUN_PACKAGES=(
  cmake g++ make pkg-config
  qt6-base-dev qt6-base-dev-tools libgl-dev
  libchm-dev fp-utils libmpfr-dev fonts-dejavu-core
)
# And what the tests need besides.
TRX_PACKAGES=(
  "${TRX_RUN_PACKAGES[@]}"
  xvfb xauth poppler-utils imagemagick
  # the desktop tests: xprop, typing, the session bus, the accessibility bus and a client
  x11-utils xdotool dbus at-spi2-core python3-pyatspi
  dpkg-dev file ccache
  lintian desktop-file-utils appstream
  # the commands' saved loadings: the JSON parser and schema validator, and
  # (for the test that the schema is one) the JSON Schema draft-07 meta-schema
  libvalijson-dev nlohmann-json3-dev python3-jsonschema
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

# The arm64 stage (scripts/test-arm64.sh): Debian's cross compiler and
# qemu-user on the host; the arm64 libraries go into a sysroot of their own
# (trx_arm64_sysroot), never into the host's package database.
TRX_ARM64_PACKAGES=(g++-aarch64-linux-gnu qemu-user python3)
# What the cross build links, as Debian's arm64 packages.
TRX_ARM64_SYSROOT_PACKAGES=(qt6-base-dev libchm-dev libmpfr-dev libc6-dev)

trx_install_arm64_deps() {
  local saved=("${TRX_PACKAGES[@]}")
  TRX_PACKAGES=("${TRX_ARM64_PACKAGES[@]}")
  trx_install_deps
  TRX_PACKAGES=("${saved[@]}")
}

# trx_arm64_sysroot <folder>: Debian's arm64 packages of
# TRX_ARM64_SYSROOT_PACKAGES and everything they depend on, unpacked into
# <folder>. apt resolves the dependencies with a package list and state of its
# own (beside <folder>) and only downloads; the host's packages stay as they
# are. Done once: a folder holding the list of what it was made from is kept
# while that list is unchanged.
trx_arm64_sysroot() {
  local root=$1
  local want="${TRX_ARM64_SYSROOT_PACKAGES[*]}"
  if [ -f "$root/.trx-packages" ] && [ "$(cat "$root/.trx-packages")" = "$want" ]; then
    return 0
  fi
  local state="$root.apt"
  rm -rf "$root" "$state"
  mkdir -p "$state/lists/partial" "$state/archives/partial" "$root"
  : >"$state/status"
  local apt=(apt-get -qq -o "Dir::State=$state" -o "Dir::State::Lists=$state/lists"
    -o "Dir::State::status=$state/status" -o "Dir::Cache=$state" -o "Dir::Cache::archives=$state/archives"
    -o APT::Architecture=arm64 -o APT::Architectures::=arm64 -o Debug::NoLocking=1
    -o APT::Sandbox::User=root)
  echo "Downloading the arm64 packages of: $want"
  "${apt[@]}" update
  "${apt[@]}" install --download-only -y --no-install-recommends "${TRX_ARM64_SYSROOT_PACKAGES[@]}"
  local deb
  for deb in "$state"/archives/*.deb; do
    dpkg-deb --fsys-tarfile "$deb" | tar -x -C "$root" --exclude='./usr/share/doc' \
      --exclude='./usr/share/man' --exclude='./usr/share/locale'
  done
  # Links to absolute paths would lead out of the sysroot, into the host's files.
  local link target
  while IFS= read -r -d '' link; do
    target=$(readlink "$link")
    ln -sfn "$(realpath -ms --relative-to="$(dirname "$link")" "$root$target")" "$link"
  done < <(find "$root" -type l -lname '/*' -print0)
  rm -rf "$state"
  echo "$want" >"$root/.trx-packages"
}
