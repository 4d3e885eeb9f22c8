#!/usr/bin/env bash
# Fails when a tracked C++ file deviates from the root .clang-format, naming each place; `clang-format -i FILE`
# mends a file.
set -euo pipefail
cd "$(dirname "$0")/.."
mapfile -d '' files < <(git ls-files -z -- '*.cpp' '*.h' '*.hpp' '*.cc')
if ! clang-format --dry-run --Werror "${files[@]}"; then
  echo "check-format: the files above deviate from .clang-format (clang-format -i FILE mends one)" >&2
  exit 1
fi
echo "check-format: ${#files[@]} files follow .clang-format"
