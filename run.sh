#!/usr/bin/env bash
# Installs what is missing, builds, and starts Quillon (on a recording, if one is named).
#   ./run.sh [FILE]
# The program starts in the folder run.sh was called from: the plot documents
# it writes without asking where (Spectrogram.pdf and the others) land there.
set -euo pipefail
CALLER="$PWD"
HERE="$(cd "$(dirname "$0")" && pwd)"
ARGS=()
for a in "$@"; do
  # Resolve a relative recording path before we change directory.
  if [ -e "$a" ]; then ARGS+=("$(cd "$(dirname "$a")" && pwd)/$(basename "$a")"); else ARGS+=("$a"); fi
done
cd "$HERE"
./scripts/install-deps.sh
cmake -S . -B build-release -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF -DQUILLON_BENCH=OFF >/dev/null
cmake --build build-release -j "$(scripts/jobs.sh)" --target quillon
cd "$CALLER"
exec "$HERE/build-release/quillon" "${ARGS[@]}"
