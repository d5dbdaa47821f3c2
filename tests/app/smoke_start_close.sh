#!/usr/bin/env bash
# Starts the real executable under Xvfb from a folder holding a prepared
# Vurn.ini, finds its window by title, starts it a second time with a file
# (which hands the file over and ends), closes the window the way a window
# manager does, and checks the exit codes and the state file it rewrote.
set -euo pipefail
exe="$1"
here="$(cd "$(dirname "$0")" && pwd)"
work=$(mktemp -d /tmp/vurn-smoke.XXXXXX)
trap 'rm -rf "$work"' EXIT

cp "$exe" "$work/vurn"
sox -n -r 22050 -c 1 "$work/one.flac" synth 2 sine 440 vol 0.2
sox -n -r 22050 -c 1 "$work/two.wav" synth 3 sine 330 vol 0.2
sox -n -r 22050 -c 1 "$work/three.wav" synth 2 sine 550 vol 0.2
cat > "$work/Vurn.ini" <<INI
[General]
RepeatMode=シャッフル
Volume=35
alarmEnable=false

[0]
File=$work/one.flac

[1]
File=$work/missing.mp3

[2]
File=$work/two.wav

[Alarm0]
Enabled=true
Time=07:30
Week=024
PlayList=標準プレイリスト
PlayMode=ランダム
FirstPlay=false
Interrupt=true
Volume=50
VolumeControl=フェードイン：3分
INI

cat > "$work/session.sh" <<'SESSION'
#!/usr/bin/env bash
set -euo pipefail
work="$1"; here="$2"
export QT_QPA_PLATFORM=xcb
"$work/vurn" > "$work/vurn.log" 2>&1 &
pid=$!
# Only a mapped window can be closed by a window manager; an earlier request
# would reach a window that is not shown yet.
window=$(timeout 60 xdotool search --sync --onlyvisible --name '^Vurn -v0\.3\.4$' | head -n 1)
[ -n "$window" ] || { echo "no window titled 'Vurn -v0.3.4'"; kill "$pid"; exit 1; }
sleep 1
# A second start hands its file to the running player and ends at once.
second=0
(cd /tmp && timeout 30 "$work/vurn" ../"${work#/}/three.wav" > "$work/second.log" 2>&1) || second=$?
[ "$second" -eq 0 ] || { echo "second start ended with $second"; cat "$work/second.log"; kill "$pid"; exit 1; }
kill -0 "$pid" || { echo "the first player ended"; exit 1; }
sleep 1
status=0
bash "$here/close_window.sh" "$window" "$pid"
source "$here/player_exit.sh"
player_exit "$pid" "$work/vurn.log" || status=$?
echo "exit code $status"
exit "$status"
SESSION

xvfb-run -a bash "$work/session.sh" "$work" "$here" || { cat "$work/vurn.log"; exit 1; }

ini="$work/Vurn.ini"
fail=0
expect() { grep -qxF -- "$1" "$ini" || { echo "missing in Vurn.ini: $1"; fail=1; }; }
reject() { ! grep -qxF -- "$1" "$ini" || { echo "unexpected in Vurn.ini: $1"; fail=1; }; }
expect "RepeatMode=シャッフル"
expect "Volume=35"
expect "alarmEnable=false"
expect "File=$work/one.flac"
expect "File=$work/two.wav"
expect "File=$work/three.wav"
reject "File=$work/missing.mp3"
reject "[3]"
expect "[Alarm0]"
expect "Time=07:30"
expect "Week=024"
expect "VolumeControl=フェードイン：3分"
grep -q '^geometry=' "$ini" || { echo "geometry not saved"; fail=1; }
if [ "$fail" -ne 0 ]; then echo "--- Vurn.ini ---"; cat "$ini"; exit 1; fi
echo "smoke test passed"
