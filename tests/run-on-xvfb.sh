#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs a command on a virtual X server of its own and returns its exit status,
# as `xvfb-run -a` does, except that Xvfb itself picks a free display
# (-displayfd). xvfb-run picks the number from the lock files before starting
# the server, so two runs started together can take the same display, and one
# of them then fails. The server never resets: by default it does so each
# time its last client leaves, and a client connecting meanwhile is refused
# (a helper that looks at the display and leaves before the program comes).
# Usage: run-on-xvfb.sh COMMAND [ARGUMENT...]
set -u
dir=$(mktemp -d "${TMPDIR:-/tmp}/trx-xvfb.XXXXXX") || exit 1
xvfb=
cleanup() {
  [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null && wait "$xvfb" 2>/dev/null
  rm -rf "$dir"
}
trap cleanup EXIT
trap 'exit 1' HUP INT TERM

mkfifo "$dir/display" || exit 1
Xvfb -displayfd 3 -noreset -screen 0 1280x1024x24 -nolisten tcp 3>"$dir/display" 2>"$dir/log" &
xvfb=$!
# The number comes once the server listens; nothing comes if it fails.
display=
read -r display <"$dir/display"
if [ -z "$display" ]; then
  echo "run-on-xvfb.sh: Xvfb did not start:" >&2
  cat "$dir/log" >&2
  exit 1
fi
DISPLAY=":$display" "$@"
