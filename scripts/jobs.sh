#!/usr/bin/env bash
# Prints how many compile jobs to run at once: JOBS when it is set, otherwise
# one per core, but no more than the memory can hold. One compile of the
# window's sources or tests takes up to about 0.45 GB, more under the
# sanitizers; a gigabyte a job leaves room for the linker and the desktop, so a
# laptop with little memory builds more slowly instead of stalling.
set -euo pipefail
if [ -n "${JOBS:-}" ]; then
  echo "$JOBS"
  exit 0
fi
cores=$(nproc 2>/dev/null || echo 2)
# MemAvailable in kB: what can be used without swapping.
avail=$(awk '/^MemAvailable:/ { print $2 }' /proc/meminfo 2>/dev/null || true)
jobs=$cores
if [ -n "$avail" ]; then
  by_memory=$(( avail / (1024 * 1024) ))
  [ "$by_memory" -lt "$jobs" ] && jobs=$by_memory
fi
[ "$jobs" -lt 1 ] && jobs=1
echo "$jobs"
