#!/usr/bin/env bash
# Every include under src/ keeps to the layers: a file may include its own layer's headers and those of
# the layers it builds on, never one above or beside it (the libraries catch upward calls; this catches
# the header-only ones). Prints each offending line and exits 1.
set -euo pipefail
cd "$(dirname "$0")/../src"
declare -A below=(
  [platform]=""
  [language]="platform"
  [common]="language platform"
  [toolchain]="common language platform"
  [dialogs]="common language platform"
  [terminal]="common language platform"
  [editor]="toolchain dialogs common language platform"
  [shell]="editor terminal toolchain dialogs common language platform"
  [app]="shell editor terminal toolchain dialogs common language platform"
)
status=0
while IFS=: read -r file line text; do
  layer=${file%%/*}
  included=$(sed -E 's/^#include "([a-z]+)\/.*/\1/' <<<"$text")
  [ "$included" = "$layer" ] && continue
  if [ -z "${below[$layer]+set}" ]; then
    echo "$file: the folder $layer is no layer of ours" >&2
    status=1
  elif [[ " ${below[$layer]} " != *" $included "* ]]; then
    echo "$file:$line: $layer includes $text" >&2
    status=1
  fi
done < <(grep -rnE '^#include "[a-z]+/' --include='*.cpp' --include='*.h' .  | sed 's|^\./||')
exit $status
