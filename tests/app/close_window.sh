#!/usr/bin/env bash
# close_window.sh WINDOW PID: closes the window the way a window manager
# does and waits for the process to end; exits 1 (after killing it) if it
# does not. Without a window manager nothing else stirs the X connection, and
# Qt can leave a close request queued behind input it set aside; like a user
# whose click went unnoticed, ask again until the window goes.
window="$1"; pid="$2"
here="$(cd "$(dirname "$0")" && pwd)"
for attempt in 1 2 3 4 5 6 7 8 9 10; do
  /usr/bin/python3 "$here/wm_close.py" "$window" 2>/dev/null || true
  timeout 3 tail --pid="$pid" -f /dev/null && { echo "closed after $attempt request(s)"; exit 0; }
done
echo "vurn did not exit after WM_DELETE_WINDOW"
kill -9 "$pid"
exit 1
