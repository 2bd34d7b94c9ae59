#!/usr/bin/env bash
# Fails when a C++ file of ours differs from what clang-format makes of it (the house style is
# in .clang-format). Prints the files that need formatting.
set -euo pipefail
cd "$(dirname "$0")/.."
mapfile -t files < <(find src tests bench \( -name '*.cpp' -o -name '*.h' \) -type f | sort)
bad=()
for file in "${files[@]}"; do
  if ! clang-format --dry-run --Werror "$file" >/dev/null 2>&1; then bad+=("$file"); fi
done
if ((${#bad[@]})); then
  echo "check-format: these files are not in the house style (run clang-format -i on them):"
  printf '  %s\n' "${bad[@]}"
  exit 1
fi
echo "check-format: ${#files[@]} files in the house style"
