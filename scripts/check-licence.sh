#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Lists every source file of the repository that does not name its licence in
# an SPDX line near its top, and fails when there is one.
set -euo pipefail
cd "$(dirname "$0")/.."
missing=0
while IFS= read -r -d '' f; do
  if ! head -n 3 "$f" | grep -q 'SPDX-License-Identifier: GPL-3.0-or-later'; then
    echo "no SPDX licence line: $f"
    missing=1
  fi
done < <(git ls-files -z -- '*.cpp' '*.h' '*.hpp' '*.cc' '*.sh' '*.py' '*.cmake' \
  '*CMakeLists.txt' '.ci/run' 'packaging/trimwise.in' 'packaging/trimwise.desktop.in' ':!:fuzz/corpus/**' ':!:tests/data/**')
exit "$missing"
