#!/usr/bin/env bash
# The real executable under a faked wall clock (libfaketime; timers keep the
# real monotonic clock): the clock jumps from 06:58 to 07:05 across a 07:00
# alarm, as after a machine's sleep, and the sound server must then show a
# stream playing.
set -euo pipefail
exe="$1"
here="$(cd "$(dirname "$0")" && pwd)"
work=$(mktemp -d /tmp/vurn-sleep.XXXXXX)
trap 'rm -rf "$work"' EXIT

source "$here/morning_alarm.sh"
faketime_lib=$(faketime_library)
command -v pactl >/dev/null || { echo "pactl not installed"; exit 1; }
pactl info >/dev/null || { echo "no sound server (run under scripts/headless.sh)"; exit 1; }

morning_alarm_folder "$work" "$exe" "CatchUpMinutes=60"
fake_clock_at "$work" "2024-01-01 06:58:30"

cat > "$work/session.sh" <<'SESSION'
#!/usr/bin/env bash
set -euo pipefail
work="$1"; here="$2"; lib="$3"
source "$here/morning_alarm.sh"
start_faked_player "$work" "$lib"
# Other tests may play into the same sound server: count this process's streams.
streams() { pactl list sink-inputs | grep -c "application.process.id = \"$pid\"" || true; }
window=$(timeout 60 xdotool search --sync --onlyvisible --name '^Vurn -v0\.3\.4$' | head -n 1)
[ -n "$window" ] || { echo "no main window"; kill "$pid"; exit 1; }
sleep 3
before=$(streams)
echo "streams at 06:58: $before"
[ "$before" -eq 0 ] || { echo "something played before the alarm"; kill "$pid"; exit 1; }
# The machine "sleeps" through 07:00 and wakes at 07:05.
fake_clock_at "$work" "2024-01-01 07:05:00"
played=0
for _ in $(seq 40); do
  if [ "$(streams)" -gt 0 ]; then played=1; break; fi
  sleep 0.5
done
pactl list sink-inputs | grep -E 'Sink Input|application.name|application.process.id|media.name|Corked' || true
[ "$played" -eq 1 ] || { echo "no stream after the jump across 07:00"; kill "$pid"; exit 1; }
xdotool search --onlyvisible --name '^Vurn - アラーム$' >/dev/null \
  || { echo "no ringing window"; kill "$pid"; exit 1; }
echo "ringing window shown"
bash "$here/close_window.sh" "$window" "$pid"
source "$here/player_exit.sh"
player_exit "$pid" "$work/vurn.log"
SESSION

xvfb-run -a bash "$work/session.sh" "$work" "$here" "$faketime_lib" || { cat "$work/vurn.log"; exit 1; }
echo "alarm after sleep test passed"
