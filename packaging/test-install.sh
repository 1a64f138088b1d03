#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs a built tree into a scratch prefix and starts the installed program
# headless through its launcher, from an unrelated working folder.
# Usage: test-install.sh <cmake> <build folder> <scratch folder> <program folder> <app id>
set -eu

cmake=$1
build=$2
scratch=$3
appdir_rel=$4
app_id=$5
# The source tree this script lies in.
srcdir=$(cd "$(dirname "$0")/.." && pwd)

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

rm -rf "$scratch"
mkdir -p "$scratch/cwd"
prefix=$scratch/prefix
"$cmake" --install "$build" --prefix "$prefix" >"$scratch/install.log" ||
    fail "cmake --install failed: $(cat "$scratch/install.log")"

appdir=$prefix/$appdir_rel
launcher=$prefix/bin/trimwise

# Everything the program reads lies in its own folder.
for f in TRX TRX.ini icon.ico trx.chm libtrxhelp.so trx-chmprobe libtrxprint.so report.html; do
    [ -s "$appdir/$f" ] || fail "$appdir/$f missing or empty"
done
[ -x "$appdir/TRX" ] || fail "TRX is not executable"
[ -x "$appdir/trx-chmprobe" ] || fail "trx-chmprobe is not executable"
[ -x "$launcher" ] || fail "launcher $launcher missing or not executable"
cmp -s "$appdir/TRX.ini" "$build/bin/TRX.ini" || fail "installed TRX.ini differs from the build's"
cmp -s "$appdir/trx.chm" "$build/bin/trx.chm" || fail "installed trx.chm differs from the build's"

# The catalogue checker finds the installed catalogue from its own place.
checker=$prefix/bin/trx-check
[ -x "$checker" ] || fail "$checker missing or not executable"
[ -f "$prefix/share/man/man1/trx-check.1.gz" ] || fail "trx-check(1) missing"
LC_ALL=C "$checker" --strict >"$scratch/check.log" 2>&1 ||
    fail "installed trx-check on the installed catalogue: $(cat "$scratch/check.log")"
grep -Eq "^[1-9][0-9]* aircraft checked, 0 errors, 0 warnings$" "$scratch/check.log" ||
    fail "installed trx-check did not check the installed catalogue: $(cat "$scratch/check.log")"

# So does the loading sheet command; both come with their completion.
sheet=$prefix/bin/trx-sheet
[ -x "$sheet" ] || fail "$sheet missing or not executable"
[ -f "$prefix/share/man/man1/trx-sheet.1.gz" ] || fail "trx-sheet(1) missing"
for c in trx-check trx-sheet; do
    [ -f "$prefix/share/bash-completion/completions/$c" ] || fail "bash completion of $c missing"
done
LC_ALL=C "$sheet" Trainer >"$scratch/sheet.log" 2>&1 ||
    fail "installed trx-sheet on the installed catalogue: $(cat "$scratch/sheet.log")"
grep -qx "Total moment: 642.4 Nm" "$scratch/sheet.log" ||
    fail "installed trx-sheet did not read the installed catalogue: $(cat "$scratch/sheet.log")"
# The schema of a saved loading, where trx-sheet --help says it is.
schema=$prefix/share/trimwise/loading.schema.json
[ -f "$schema" ] || fail "$schema missing"
cmp -s "$schema" "$srcdir/loading/loading.schema.json" ||
    fail "installed loading.schema.json differs from loading/loading.schema.json"

desktop=$prefix/share/applications/$app_id.desktop
[ -f "$desktop" ] || fail "$desktop missing"
grep -qx "Path=$appdir" "$desktop" || fail "desktop entry's Path is not $appdir"
grep -qx "Exec=$launcher" "$desktop" || fail "desktop entry's Exec is not $launcher"
grep -qx "Icon=$app_id" "$desktop" || fail "desktop entry's Icon is not $app_id"
[ -f "$prefix/share/icons/hicolor/32x32/apps/$app_id.png" ] || fail "32x32 icon missing"
[ -f "$prefix/share/metainfo/$app_id.metainfo.xml" ] || fail "AppStream metadata missing"

# The viewer library is opened by name through the executable's RUNPATH.
if command -v readelf >/dev/null 2>&1; then
    readelf -d "$appdir/TRX" | grep -E 'R(UN)?PATH' | grep -qF '[$ORIGIN]' ||
        fail "installed TRX lacks RUNPATH \$ORIGIN: $(readelf -d "$appdir/TRX" | grep PATH)"
fi
for lib in libtrxhelp.so libtrxprint.so; do
    if ldd "$appdir/$lib" | grep -q 'not found'; then
        fail "$lib has unresolved dependencies: $(ldd "$appdir/$lib" | grep 'not found')"
    fi
done

# Start it as a desktop would, from elsewhere. With strace at hand, also see
# which files it opened at start-up.
cd "$scratch/cwd"
# As in a desktop session; Qt warns without it.
mkdir -m 700 "$scratch/runtime"
export XDG_RUNTIME_DIR="$scratch/runtime"
trace=
if command -v strace >/dev/null 2>&1 && strace -f -qq -o /dev/null true 2>/dev/null; then
    trace=$scratch/trace.log
    QT_QPA_PLATFORM=offscreen strace -f -qq -e trace=open,openat -o "$trace" \
        sh -c 'echo $$ >"$0"; exec "$1"' "$scratch/pid" "$launcher" \
        >"$scratch/stdout" 2>"$scratch/stderr" &
else
    QT_QPA_PLATFORM=offscreen sh -c 'echo $$ >"$0"; exec "$1"' "$scratch/pid" "$launcher" \
        >"$scratch/stdout" 2>"$scratch/stderr" &
fi
runner=$!

# Started means idle in its event loop: the program, not the launcher, asleep
# in poll with nothing left to do. Checked every 0.1 s up to a minute; an end
# before that is a failure.
state_of() { sed 's/^.*) //' "/proc/$1/stat" 2>/dev/null | cut -d' ' -f1; }
waiting_in_poll() {
    case "$(cat "/proc/$1/wchan" 2>/dev/null)" in
    *poll*) return 0 ;;
    '' | 0) ;; # no kernel symbol names here: the system call's number says it
    *) return 1 ;;
    esac
    case "$(uname -m) $(cut -d' ' -f1 "/proc/$1/syscall" 2>/dev/null)" in
    "x86_64 7" | "x86_64 271" | "aarch64 73") return 0 ;;
    *) return 1 ;;
    esac
}
pid=
tries=0
while :; do
    [ -z "$pid" ] && [ -s "$scratch/pid" ] && pid=$(cat "$scratch/pid")
    if [ -n "$pid" ]; then
        case "$(state_of "$pid")" in
        '' | Z | X)
            wait "$runner" || true
            fail "the installed program ended at start-up: $(cat "$scratch/stdout" "$scratch/stderr")"
            ;;
        S)
            [ "$(cat "/proc/$pid/comm" 2>/dev/null)" = TRX ] && waiting_in_poll "$pid" && break
            ;;
        esac
    fi
    tries=$((tries + 1))
    [ "$tries" -le 600 ] || fail "the installed program did not finish starting within a minute"
    sleep 0.1
done
kill "$pid"
wait "$runner" || true

if [ -s "$scratch/stderr" ]; then
    fail "the installed program printed: $(cat "$scratch/stderr")"
fi

if [ -n "$trace" ]; then
    # A successful open returns a descriptor; a failed one -1.
    grep -E "\"$appdir/TRX\.ini\", O_RDONLY.*= [0-9]+$" "$trace" >/dev/null ||
        fail "the program did not open its catalogue $appdir/TRX.ini"
    grep -E "\"($appdir/)?icon\.ico\", O_RDONLY.*= [0-9]+$" "$trace" >/dev/null ||
        fail "the program did not open icon.ico in its folder"
    if grep -E "(TRX\.ini|icon\.ico)\".*= -1" "$trace" >/dev/null; then
        fail "a failed open: $(grep -E '(TRX\.ini|icon\.ico)".*= -1' "$trace")"
    fi
fi

echo "installed program started from $appdir"
