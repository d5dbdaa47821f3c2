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

faketime_lib=$(ls /usr/lib/*/faketime/libfaketime.so.1 2>/dev/null | head -n 1)
[ -n "$faketime_lib" ] || { echo "libfaketime not installed"; exit 1; }
command -v pactl >/dev/null || { echo "pactl not installed"; exit 1; }
pactl info >/dev/null || { echo "no sound server (run under scripts/headless.sh)"; exit 1; }

cp "$exe" "$work/vurn"
cp "$(dirname "$exe")/alarm-tone.wav" "$work/" 2>/dev/null || true
sox -n -r 22050 -c 1 "$work/wake.flac" synth 60 sine 440 vol 0.2
# 2024-01-01 was a Monday (Week digit 0).
cat > "$work/Vurn.ini" <<INI
[General]
RepeatMode=全曲リピート(>>)
Volume=35
alarmEnable=true
CatchUpMinutes=60

[0]
File=$work/wake.flac

[Alarm0]
Enabled=true
Time=07:00
Week=0
PlayList=標準プレイリスト
PlayMode=全曲リピート(>>)
FirstPlay=false
Interrupt=true
Volume=50
VolumeControl=しない
INI

# Seconds to add to the real clock so that it reads the given local time.
# libfaketime reads "+N" or "-N" seconds.
offset_to() { printf '%+d\n' "$(( $(date -d "$1" +%s) - $(date +%s) ))"; }
offset_to "2024-01-01 06:58:30" > "$work/faketime"


cat > "$work/session.sh" <<'SESSION'
#!/usr/bin/env bash
set -euo pipefail
work="$1"; here="$2"; lib="$3"
export QT_QPA_PLATFORM=xcb
# A sanitizer build wants its runtime first among the preloads; libfaketime
# only wraps the clock calls, so the order does not matter here.
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}verify_asan_link_order=0"
LD_PRELOAD="$lib" FAKETIME_TIMESTAMP_FILE="$work/faketime" FAKETIME_NO_CACHE=1 \
  FAKETIME_DONT_FAKE_MONOTONIC=1 "$work/vurn" > "$work/vurn.log" 2>&1 &
pid=$!
# Other tests may play into the same sound server: count this process's streams.
streams() { pactl list sink-inputs | grep -c "application.process.id = \"$pid\"" || true; }
window=$(timeout 60 xdotool search --sync --onlyvisible --name '^Vurn -v0\.3\.4$' | head -n 1)
[ -n "$window" ] || { echo "no main window"; kill "$pid"; exit 1; }
sleep 3
before=$(streams)
echo "streams at 06:58: $before"
[ "$before" -eq 0 ] || { echo "something played before the alarm"; kill "$pid"; exit 1; }
# The machine "sleeps" through 07:00 and wakes at 07:05.
printf '%+d\n' "$(( $(date -d "2024-01-01 07:05:00" +%s) - $(date +%s) ))" > "$work/faketime"
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
