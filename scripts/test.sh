#!/usr/bin/env bash
# Installs what is missing, builds Vurn and runs every test headless.
#   --werror      treat warnings as errors
#   --sanitize    also build and run the whole suite under ASan + UBSan
#   -R REGEX      run only the matching tests
# Under CI (CI=true) both options are on.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"

werror=OFF
sanitize=0
filter=()
if [ "${CI:-}" = "true" ]; then werror=ON; sanitize=1; fi
while [ $# -gt 0 ]; do
  case "$1" in
    --werror) werror=ON ;;
    --sanitize) sanitize=1 ;;
    -R) filter=(-R "$2"); shift ;;
    *) echo "unknown option: $1" >&2; exit 2 ;;
  esac
  shift
done

bash "$root/scripts/install-deps.sh"

jobs=$(nproc)
run_suite() {
  local build="$1"; shift
  cmake -S "$root" -B "$build" -DVURN_WERROR="$werror" "$@" >/dev/null
  cmake --build "$build" -j"$jobs"
  (cd "$build" && bash "$root/scripts/headless.sh" \
     ctest --output-on-failure -j"$jobs" "${filter[@]}")
}

run_suite "$root/build" -DVURN_SANITIZE=OFF

if [ "$sanitize" = 1 ]; then
  export ASAN_OPTIONS="detect_leaks=1:abort_on_error=0:halt_on_error=1:detect_odr_violation=0:fast_unwind_on_malloc=0"
  export LSAN_OPTIONS="suppressions=$root/scripts/lsan-system-libs.supp:print_suppressions=0"
  export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
  run_suite "$root/build-sanitize" -DVURN_SANITIZE=ON -DVURN_BUILD_BENCH=OFF
fi
