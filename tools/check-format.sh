#!/usr/bin/env bash
# Fails when a C or C++ file of the tree differs from the project's .clang-format.
set -euo pipefail
cd "$(dirname "$0")/.."
mapfile -t files < <(git ls-files src include tests bench fuzz tools relabelplug | grep -E '\.(c|cpp|h|hpp)$')
clang-format --dry-run --Werror "${files[@]}"
echo "clang-format: ${#files[@]} files as formatted"
