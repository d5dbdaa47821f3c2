#!/usr/bin/env bash
# The real executable on a session bus of its own: it owns the MPRIS name and
# answers a client; then the bus goes away under it, and the player keeps
# running, closes normally and saves its playlist and alarms.
set -euo pipefail
exe="$1"
here="$(cd "$(dirname "$0")" && pwd)"
work=$(mktemp -d /tmp/vurn-bus.XXXXXX)
bus_pid=""
cleanup() { [ -n "$bus_pid" ] && kill "$bus_pid" 2>/dev/null; rm -rf "$work"; }
trap cleanup EXIT

cp "$exe" "$work/vurn"
sox -n -r 22050 -c 1 "$work/one.flac" synth 2 sine 440 vol 0.2
cat > "$work/Vurn.ini" <<INI
[General]
Volume=35

[0]
File=$work/one.flac

[Alarm0]
Enabled=true
Time=07:30
Week=024
PlayList=標準プレイリスト
PlayMode=ランダム
Volume=50
INI

read -r address bus_pid < <(dbus-daemon --session --fork --nopidfile --print-address=1 --print-pid=1 | paste -sd ' ')
export DBUS_SESSION_BUS_ADDRESS="$address"

cat > "$work/session.sh" <<'SESSION'
#!/usr/bin/env bash
set -euo pipefail
work="$1"; here="$2"; bus_pid="$3"
export QT_QPA_PLATFORM=xcb
"$work/vurn" > "$work/vurn.log" 2>&1 &
pid=$!
window=$(timeout 60 xdotool search --sync --onlyvisible --name '^Vurn -v0\.3\.4$' | head -n 1)
[ -n "$window" ] || { echo "no window"; kill "$pid"; exit 1; }
identity=$(timeout 10 gdbus call --session -d org.mpris.MediaPlayer2.vurn -o /org/mpris/MediaPlayer2 \
  -m org.freedesktop.DBus.Properties.Get org.mpris.MediaPlayer2 Identity)
[ "$identity" = "(<'Vurn'>,)" ] || { echo "MPRIS answered: $identity"; kill "$pid"; exit 1; }
kill "$bus_pid"
sleep 2
kill -0 "$pid" || { echo "the player ended with its bus"; exit 1; }
bash "$here/close_window.sh" "$window" "$pid"
source "$here/player_exit.sh"
player_exit "$pid" "$work/vurn.log"
SESSION

xvfb-run -a bash "$work/session.sh" "$work" "$here" "$bus_pid" || { cat "$work/vurn.log"; exit 1; }
bus_pid=""
ini="$work/Vurn.ini"
fail=0
for line in "File=$work/one.flac" "[Alarm0]" "Time=07:30" "Volume=35"; do
  grep -qxF -- "$line" "$ini" || { echo "missing in Vurn.ini: $line"; fail=1; }
done
if [ "$fail" -ne 0 ]; then cat "$ini"; exit 1; fi
echo "bus loss survived"
