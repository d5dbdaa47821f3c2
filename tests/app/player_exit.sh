# Sourced by the smoke tests: player_exit PID LOG waits for the player and
# returns its exit status. Under the sanitizers the leak check runs as the
# process ends; when its tracer itself crashes (it can while a library thread
# is still winding down) nothing was checked and nothing is known to be wrong,
# so that alone does not fail a test about the player's behaviour. A leak the
# check did find still does.
leak_check_crashed() {
  grep -q "Tracer caught signal" "$1" \
    && grep -q "LeakSanitizer has encountered a fatal error" "$1" \
    && ! grep -q "detected memory leaks" "$1"
}

player_exit() {
  local pid="$1" log="$2" status=0
  wait "$pid" || status=$?
  if [ "$status" -ne 0 ] && leak_check_crashed "$log"; then
    echo "leak check inconclusive: the sanitizer's tracer crashed at exit" >&2
    status=0
  fi
  return "$status"
}
