#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The program's numbers are the same on every processor only while the
# extended type is chosen in one place. long double is the x87 80-bit format
# on x86-64 but something else elsewhere (128-bit on 64-bit ARM, 64-bit on
# 32-bit ARM), so product code names Extended (core/Extended.h), never
# long double or strtold itself. Only these files may:
#   core/Extended.h      chooses the type: long double or SoftExtended;
#   core/HardExtended.h  the long double side of the extended steps, and the
#                        checks that it is the x87 format.
# (core/SoftExtended.* and core/ExtendedSteps.h implement the type too, but
# name long double in comments only.) Comments and string literals are not
# code and are not looked at. Lists each use as file:line and fails on any.
#
# It also checks that the geometry of core/EnvelopeShape.cpp, taken in double,
# still says why that is the same everywhere, and that what it says holds.
set -euo pipefail
cd "$(dirname "$0")/.."

python3 - core platform ui app helpviewer check sheet <<'EOF'
import re
import sys
from pathlib import Path

ALLOWED = {"core/Extended.h", "core/HardExtended.h"}
USE = re.compile(r"\blong\s+double\b|\bstrtold\w*")

def code_only(text):
    """text with comments, string and character literals blanked out; lines kept."""
    out = []
    i, n = 0, len(text)
    while i < n:
        c = text[i]
        if text.startswith("//", i):
            j = text.find("\n", i)
            j = n if j < 0 else j
            out.append(" " * (j - i))
            i = j
        elif text.startswith("/*", i):
            j = text.find("*/", i + 2)
            j = n if j < 0 else j + 2
            out.append(re.sub(r"[^\n]", " ", text[i:j]))
            i = j
        elif c == '"' or (c == "'" and not (i > 0 and text[i - 1].isalnum())):
            j = i + 1
            while j < n and text[j] != c and text[j] != "\n":
                j += 2 if text[j] == "\\" else 1
            j = min(j + 1, n)
            out.append(c + re.sub(r"[^\n]", " ", text[i + 1 : j - 1]) + c)
            i = j
        else:
            out.append(c)
            i += 1
    return "".join(out)

found = 0
for folder in sys.argv[1:]:
    if not Path(folder).is_dir():
        continue
    for path in sorted(Path(folder).rglob("*")):
        if path.suffix not in (".cpp", ".h") or path.as_posix() in ALLOWED:
            continue
        code = code_only(path.read_text(encoding="utf-8", errors="replace"))
        for m in USE.finditer(code):
            line = code.count("\n", 0, m.start()) + 1
            print(f"{path.as_posix()}:{line}: '{' '.join(m.group().split())}' outside the "
                  "extended type's own files (core/Extended.h, core/HardExtended.h): use Extended")
            found += 1
sys.exit(1 if found else 0)
EOF

# The envelope geometry is plain IEEE double arithmetic, which is the same on
# every processor only because no multiply-add is fused: its comment says so,
# and the build must keep the flag it names.
if ! grep -q -- '-ffp-contract=off' core/EnvelopeShape.cpp; then
  echo "core/EnvelopeShape.cpp: the comment on its double geometry no longer says why it is the same on every processor (-ffp-contract=off)"
  exit 1
fi
if ! grep -q '^add_compile_options(-ffp-contract=off)' CMakeLists.txt; then
  echo "CMakeLists.txt: -ffp-contract=off is gone, which the double geometry of core/EnvelopeShape.cpp needs"
  exit 1
fi
