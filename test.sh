#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test.
#   ./test.sh             optimised build in build/
#   ./test.sh --sanitize  AddressSanitizer + UBSan build in build-sanitize/
#   ./test.sh --tsan      ThreadSanitizer build in build-tsan/: the parallel analysis passes only
#   ./test.sh --werror    compiler warnings are errors (CI builds so)
#   ./test.sh --clang     built with Clang instead of GCC, in build-clang/ (build-clang-sanitize/, build-clang-tsan/)
#   ./test.sh tst_fft ... builds and runs only the named test executables
#   JOBS=N ./test.sh      build and test with N parallel jobs (default: one per core, as the
#                         memory allows: scripts/jobs.sh)
#   TEST_MINUTES=N ./test.sh   the tests stop N minutes after they start: those still running fail (default 12)
set -euo pipefail
cd "$(dirname "$0")"

SANITIZE=0
TSAN=0
WERROR=OFF
CLANG=0
TESTS=()
for arg in "$@"; do
  case "$arg" in
    --sanitize) SANITIZE=1 ;;
    --tsan) TSAN=1 ;;
    --werror) WERROR=ON ;;
    --clang) CLANG=1 ;;
    tst_*) TESTS+=("$arg") ;;
    *) echo "unknown option: $arg" >&2; exit 2 ;;
  esac
done

./scripts/install-deps.sh

if [ "$SANITIZE" = 1 ]; then
  BUILD=build-sanitize
  CONFIG=(-DCMAKE_BUILD_TYPE=Debug -DQUILLON_SANITIZE=ON -DQUILLON_BENCH=OFF)
  # Qt and fontconfig keep caches alive until exit; leaks are not what this run hunts.
  # A damaged size claim (a settings value, a splitter layout) must fail as in
  # the program, with the std::bad_alloc Qt throws for a failed malloc, which
  # the code under test catches, not with the sanitizer's own report.
  export ASAN_OPTIONS=detect_leaks=0:abort_on_error=1:allocator_may_return_null=1
  export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
elif [ "$TSAN" = 1 ]; then
  BUILD=build-tsan
  # Optimised: the sanitizer slows every memory access, and the passes are long.
  CONFIG=(-DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUILLON_SANITIZE_THREAD=ON -DQUILLON_BENCH=OFF)
  export TSAN_OPTIONS="halt_on_error=1:second_deadlock_stack=1:suppressions=$PWD/tests/tsan.supp"
  # Qt's own threads are not instrumented; only the analysis passes are checked
  # (tests/analysis/CMakeLists.txt), whatever tests were named.
  TESTS=(tst_analysis)
else
  BUILD=build
  CONFIG=(-DCMAKE_BUILD_TYPE=RelWithDebInfo)
fi
# Passed every time: the build directory would otherwise keep the last run's choice.
CONFIG+=(-DQUILLON_WERROR="$WERROR")
if [ "$CLANG" = 1 ]; then
  # A directory of its own: CMake keeps the compiler a build directory was first made with.
  BUILD=${BUILD/build/build-clang}
  export CC=clang CXX=clang++
fi

JOBS=$(scripts/jobs.sh)
cmake -S . -B "$BUILD" "${CONFIG[@]}" >/dev/null
CTEST_ARGS=()
if [ "${#TESTS[@]}" -gt 0 ]; then
  cmake --build "$BUILD" -j "$JOBS" --target "${TESTS[@]}"
  CTEST_ARGS=(-R "^($(IFS='|'; echo "${TESTS[*]}"))\$")
  if [ "$TSAN" = 1 ]; then
    CTEST_ARGS=(-R '^tst_analysis_threads$')
  fi
else
  cmake --build "$BUILD" -j "$JOBS"
fi

# A fresh, isolated settings store for every run.
rm -rf "$BUILD/test-config"
mkdir -p "$BUILD/test-config"

# A hung test fails at its own limit (tests/CMakeLists.txt); the run as a
# whole stops at this time of day, so that even several of them end it well
# within CI's 30 minutes.
STOP_TIME=$(date -d "+${TEST_MINUTES:-12} minutes" +%H:%M:%S)

export QT_QPA_PLATFORM=offscreen
cd "$BUILD"
ctest --output-on-failure --no-tests=error -j "$JOBS" --stop-time "$STOP_TIME" ${CTEST_ARGS[@]+"${CTEST_ARGS[@]}"}
