#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Keeps the layers' directions: lists every include that reaches a layer its
# folder must not reach, or that names a project header without its layer
# (an include names it from the repository's root: "core/Balance.h"), and
# fails when there is one. tests/, benchmarks/ and fuzz/ may include anything.
set -euo pipefail
cd "$(dirname "$0")/.."

layers=(core cli chart loading platform ui app helpviewer check sheet)
is_layer() {
  local l
  for l in "${layers[@]}"; do
    [ "$1" = "$l" ] && return 0
  done
  return 1
}

# The rule that a folder's include of another layer breaks; nothing when it may.
rule() {
  local from=$1 to=$2
  [ "$from" = "$to" ] && return 0
  case $from in
    tests | benchmarks | fuzz) ;;
    core) echo "core/ includes nothing of the other layers" ;;
    cli | chart | loading | platform | helpviewer)
      [ "$to" = core ] || echo "$from/ includes only core/ and $from/" ;;
    check | sheet)
      [ "$to" = ui ] || [ "$to" = app ] && echo "$from/ includes nothing of ui/ and app/" ;;
    *)
      [ "$to" = ui ] && [ "$from" != app ] && echo "only app/ includes ui/"
      [ "$to" = app ] && echo "only app/ includes app/" ;;
  esac
  return 0
}

failed=0
offend() {
  echo "$1: $2: $3"
  failed=1
}

# New files count before they are added.
mapfile -d '' files < <(git ls-files -z --cached --others --exclude-standard -- \
  '*.h' '*.hpp' '*.cpp' '*.cc' '*.c' ':!:fuzz/corpus/**' ':!:tests/data/**')
[ ${#files[@]} -gt 0 ] || exit 0
while IFS= read -r hit; do
  # file:line:text
  file=${hit%%:*}
  rest=${hit#*:}
  line=${rest%%:*}
  text=${rest#*:}
  from=${file%%/*}
  [[ $text =~ ^[[:space:]]*#[[:space:]]*include[[:space:]]*([\"\<])([^\"\>]+)[\"\>] ]] || continue
  quote=${BASH_REMATCH[1]}
  name=${BASH_REMATCH[2]}
  top=${name%%/*}
  if [ "$top" != "$name" ] && is_layer "$top"; then
    why=$(rule "$from" "$top")
    [ -z "$why" ] || offend "$file:$line" "includes $name" "$why"
    continue
  fi
  # A name without its layer: a fault when it reaches a project file, beside
  # the including file or from the root, of a layer or from one.
  [ "$quote" = '"' ] || continue
  for base in "$(dirname "$file")" .; do
    target=$(realpath -m --relative-to=. "$base/$name")
    if [ -f "$target" ] && { is_layer "$from" || is_layer "${target%%/*}"; }; then
      offend "$file:$line" "includes \"$name\" ($target)" \
        "an include names its layer from the repository's root"
      if is_layer "${target%%/*}"; then
        why=$(rule "$from" "${target%%/*}")
        [ -z "$why" ] || offend "$file:$line" "includes $target" "$why"
      fi
      break
    fi
  done
done < <(grep -nE '^[[:space:]]*#[[:space:]]*include[[:space:]]*["<]' "${files[@]}")
exit "$failed"
