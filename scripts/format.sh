#!/usr/bin/env bash
# Formats the C++ sources and headers that git tracks, and nothing else,
# with clang-format 14 and the style in .clang-format.
#   scripts/format.sh           rewrites every file that is not formatted
#   scripts/format.sh --check   changes nothing; names each file that is
#                               not formatted and fails if there is one
set -euo pipefail
cd "$(dirname "$0")/.."
check=false
case "${1:-}" in
  --check) check=true ;;
  '') ;;
  *) echo "usage: $0 [--check]" >&2; exit 2 ;;
esac
clang_format=clang-format-14
command -v "$clang_format" >/dev/null \
  || { echo "format: no $clang_format (scripts/install-deps.sh installs it)" >&2; exit 1; }

mapfile -d '' files < <(git ls-files -z -- '*.cpp' '*.h')
if ! $check; then
  "$clang_format" -i --style=file "${files[@]}"
  exit 0
fi
unformatted=()
for f in "${files[@]}"; do
  "$clang_format" --style=file --dry-run --Werror "$f" 2>/dev/null || unformatted+=("$f")
done
if [ ${#unformatted[@]} -gt 0 ]; then
  echo "format: not formatted (scripts/format.sh rewrites them):" >&2
  printf '  %s\n' "${unformatted[@]}" >&2
  exit 1
fi
echo "format: ${#files[@]} C++ files formatted"
