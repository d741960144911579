#!/usr/bin/env bash
# Fails when a source, test or benchmark file is not laid out as .clang-format says,
# and when it finds none to check.
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

# The files are found on disk, in the project's own folders: git would list
# the files of whatever work tree holds the folder (none, in a home folder
# kept in git), and a check of no file passes. Build folders hold generated code.
files=()
while IFS= read -r -d '' file; do
  files+=("$file")
done < <(find src tests bench \( -name 'build' -o -name 'build-*' \) -prune \
              -o -type f \( -name '*.cpp' -o -name '*.h' \) -print0 | sort -z)
if [ ${#files[@]} -eq 0 ]; then
  echo "No source or test file found under $PWD/src, tests or bench: nothing was checked." >&2
  exit 1
fi
if [ "${1:-}" = "--fix" ]; then
  "$formatter" -i "${files[@]}"
  exit 0
fi
"$formatter" --dry-run --Werror "${files[@]}"
echo "Every source, test and benchmark file (${#files[@]}) is laid out as .clang-format says."
