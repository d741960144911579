#!/usr/bin/env bash
# Fails when a source or test file is not laid out as .clang-format says.
# The layout is kept with clang-format 14 (Debian 12's); later versions change
# some of its rules, so with no version 14 at hand the check is skipped, saying so.
# To lay the files out: scripts/check-format.sh --fix
set -euo pipefail
cd "$(dirname "$0")/.."
VERSION=14

found=$(clang-format --version 2>/dev/null || echo "no clang-format")
installable=$(apt-cache policy "clang-format-$VERSION" 2>/dev/null || true)
formatter=""
if command -v "clang-format-$VERSION" >/dev/null 2>&1; then
  formatter="clang-format-$VERSION"
elif [[ "$found" == *"version $VERSION."* ]]; then
  formatter=clang-format
elif [[ "$installable" =~ Candidate:\ [0-9] ]]; then
  ./scripts/install-deps.sh "clang-format-$VERSION"
  formatter="clang-format-$VERSION"
fi
if [ -z "$formatter" ]; then
  echo "The layout is kept with clang-format $VERSION, which this machine does not have" \
       "($found): the format check is skipped."
  exit 0
fi

# Outside a git checkout (a copied folder) the files are found on disk.
if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
  list_files() { git ls-files -z 'src/*.cpp' 'src/*.h' 'tests/*.cpp' 'tests/*.h'; }
else
  list_files() { find src tests \( -name '*.cpp' -o -name '*.h' \) -type f -print0 | sort -z; }
fi
if [ "${1:-}" = "--fix" ]; then
  list_files | xargs -0 "$formatter" -i
  exit 0
fi
list_files | xargs -0 "$formatter" --dry-run --Werror
echo "Every source and test file is laid out as .clang-format says."
