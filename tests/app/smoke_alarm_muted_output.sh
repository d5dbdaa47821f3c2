#!/usr/bin/env bash
# The real executable, the desktop's output muted and turned down to 10 %
# before a 07:00 alarm (faked wall clock): when it rings the output is
# unmuted and raised to the alarm's 50 % with our stream playing on it;
# after stop it is muted and at 10 % again.
set -euo pipefail
exe="$1"
here="$(cd "$(dirname "$0")" && pwd)"
work=$(mktemp -d /tmp/vurn-muted.XXXXXX)
restore_sink() { pactl set-sink-mute @DEFAULT_SINK@ 0 || true; pactl set-sink-volume @DEFAULT_SINK@ 100% || true; }
trap 'restore_sink; rm -rf "$work"' EXIT

source "$here/morning_alarm.sh"
faketime_lib=$(faketime_library)
pactl info >/dev/null || { echo "no sound server (run under scripts/headless.sh)"; exit 1; }

morning_alarm_folder "$work" "$exe"
fake_clock_at "$work" "2024-01-01 06:59:45"

pactl set-sink-mute @DEFAULT_SINK@ 1
pactl set-sink-volume @DEFAULT_SINK@ 10%

cat > "$work/session.sh" <<'SESSION'
#!/usr/bin/env bash
set -euo pipefail
work="$1"; here="$2"; lib="$3"
source "$here/morning_alarm.sh"
start_faked_player "$work" "$lib"
sink_muted() { pactl get-sink-mute @DEFAULT_SINK@ | grep -q yes; }
sink_percent() { pactl get-sink-volume @DEFAULT_SINK@ | grep -o '[0-9]*%' | head -n 1 | tr -d %; }
playing() { pactl list sink-inputs | grep -q "application.process.id = \"$pid\""; }
window=$(timeout 60 xdotool search --sync --onlyvisible --name '^Vurn -v0\.3\.4$' | head -n 1)
[ -n "$window" ] || { echo "no main window"; kill "$pid"; exit 1; }
sink_muted || { echo "the sink was unmuted before the alarm"; kill "$pid"; exit 1; }

ring=$(timeout 60 xdotool search --sync --onlyvisible --name '^Vurn - アラーム$' | head -n 1) || true
[ -n "$ring" ] || { echo "no ringing window"; kill "$pid"; exit 1; }
heard=0
for _ in $(seq 40); do
  if playing && ! sink_muted && [ "$(sink_percent)" -ge 50 ]; then heard=1; break; fi
  sleep 0.25
done
pactl list sinks | grep -E 'Name:|Mute:|Volume: front' || true
[ "$heard" -eq 1 ] || { echo "no stream on an unmuted sink at 50 %"; kill "$pid"; exit 1; }
echo "ringing: stream on an unmuted sink at $(sink_percent) %"

# Stop, as from the ringing window's title bar.
/usr/bin/python3 "$here/wm_close.py" "$ring"
back=0
for _ in $(seq 40); do
  if sink_muted && [ "$(sink_percent)" -eq 10 ]; then back=1; break; fi
  sleep 0.25
done
[ "$back" -eq 1 ] || { echo "the sink was not put back: muted=$(pactl get-sink-mute @DEFAULT_SINK@) $(sink_percent) %"; kill "$pid"; exit 1; }
echo "stopped: sink muted at 10 % again"
bash "$here/close_window.sh" "$window" "$pid"
source "$here/player_exit.sh"
player_exit "$pid" "$work/vurn.log"
SESSION

xvfb-run -a bash "$work/session.sh" "$work" "$here" "$faketime_lib" || { cat "$work/vurn.log"; exit 1; }
