#!/usr/bin/env bash
# Formats every tracked C and C++ source with the project's .clang-format, in
# place. With --check it changes nothing: it lists the sources that differ from
# what clang-format writes and exits with status 1 when there are any.
#
#   scripts/format.sh            format in place
#   scripts/format.sh --check    list what differs; status 1 when anything does
#
# Set CLANG_FORMAT to use another clang-format binary. Versions differ in small
# ways; the project's sources are as Debian 12's clang-format (14) writes them.
set -euo pipefail
cd "$(dirname "$0")/.."

check=0
case "${1:-}" in
  --check) check=1 ;;
  "") ;;
  *) echo "usage: scripts/format.sh [--check]" >&2; exit 2 ;;
esac
clang_format="${CLANG_FORMAT:-clang-format}"
command -v "$clang_format" >/dev/null ||
  { echo "scripts/format.sh: $clang_format not found (scripts/install_deps.sh installs it)" >&2; exit 2; }

# Tracked sources that are present (a file deleted but not yet committed is skipped).
files=()
while IFS= read -r -d '' file; do
  [ -f "$file" ] && files+=("$file")
done < <(git ls-files -z -- '*.c' '*.cc' '*.cpp' '*.h' '*.hpp')

if [ "$check" = 0 ]; then
  [ ${#files[@]} -eq 0 ] || "$clang_format" -i --style=file "${files[@]}"
  exit 0
fi

differ=0
for file in "${files[@]}"; do
  if ! "$clang_format" --style=file "$file" | cmp -s - "$file"; then
    echo "$file"
    differ=$((differ + 1))
  fi
done
if [ "$differ" -gt 0 ]; then
  echo "$differ of ${#files[@]} sources differ from .clang-format; scripts/format.sh formats them" >&2
  exit 1
fi
