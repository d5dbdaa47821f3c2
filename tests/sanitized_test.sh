#!/usr/bin/env bash
# Runs one test executable of the sanitizer build. A leak check whose tracer
# crashed at exit, after every test case passed, checked nothing and found
# nothing: the run counts by its test cases, as the smoke tests do. A found
# leak or a failed case still fails.
source "$(dirname "$0")/app/player_exit.sh"
log=$(mktemp)
trap 'rm -f "$log"' EXIT
status=0
"$@" >"$log" 2>&1 || status=$?
cat "$log"
if [ "$status" -ne 0 ] && leak_check_crashed "$log" \
   && grep -qE "^Totals: [0-9]+ passed, 0 failed" "$log" \
   && ! grep -qE "^Totals: [0-9]+ passed, [1-9]" "$log"; then
  echo "leak check inconclusive: the sanitizer's tracer crashed at exit" >&2
  status=0
fi
exit "$status"
