#!/usr/bin/env bash
# Checks that the program's C and C++ sources stay small enough to read: no
# file over 450 lines and no function over 60. The asset generator's model
# builders, the fuzz targets, the benchmarks and the tests are left out: they
# are tables of numbers or lists of cases. Lists what is too long and exits
# with status 1 when anything is. Functions are found with universal-ctags.
#
#   scripts/check_sizes.sh
set -euo pipefail
cd "$(dirname "$0")/.."

max_file_lines=450
max_function_lines=60

ctags="${CTAGS:-ctags-universal}"
command -v "$ctags" >/dev/null ||
  { echo "scripts/check_sizes.sh: $ctags not found (scripts/install_deps.sh installs it)" >&2; exit 2; }

files=()
while IFS= read -r -d '' file; do
  case "$file" in tools/assetgen/* | fuzz/* | bench/* | tests/*) continue ;; esac
  [ -f "$file" ] && files+=("$file")
done < <(git ls-files -z -- '*.c' '*.cc' '*.cpp' '*.h' '*.hpp')

too_long=0
for file in "${files[@]}"; do
  lines=$(wc -l <"$file")
  if [ "$lines" -gt "$max_file_lines" ]; then
    echo "$file: $lines lines (at most $max_file_lines)"
    too_long=$((too_long + 1))
  fi
done

# One line per function definition: name, file, and its first and last line.
functions=$("$ctags" --language-force=C++ --kinds-C++=f --fields=+ne -o - "${files[@]}" |
  awk -F'\t' -v max="$max_function_lines" '{
    first = ""; last = ""
    for (i = 4; i <= NF; i++) {
      if ($i ~ /^line:/) first = substr($i, 6)
      if ($i ~ /^end:/) last = substr($i, 5)
    }
    if (last != "" && last - first + 1 > max)
      printf "%s:%d: %s is %d lines (at most %d)\n", $2, first, $1, last - first + 1, max
  }')
if [ -n "$functions" ]; then
  echo "$functions"
  too_long=$((too_long + $(wc -l <<<"$functions")))
fi

if [ "$too_long" -gt 0 ]; then
  echo "$too_long too long; split them by job" >&2
  exit 1
fi
