#!/usr/bin/env bash
# A session that ends sends SIGTERM: the player closes as from its window,
# with exit code 0, and what was added before is in the saved state.
set -euo pipefail
exe="$1"
here="$(cd "$(dirname "$0")" && pwd)"
work=$(mktemp -d /tmp/vurn-term.XXXXXX)
trap 'rm -rf "$work"' EXIT
cp "$exe" "$work/vurn"
touch "$work/portable"
sox -n -r 22050 -c 1 "$work/one.flac" synth 2 sine 440 vol 0.2

cat > "$work/session.sh" <<'SESSION'
#!/usr/bin/env bash
set -euo pipefail
work="$1"; here="$2"
export QT_QPA_PLATFORM=xcb
"$work/vurn" "$work/one.flac" > "$work/vurn.log" 2>&1 &
pid=$!
timeout 60 xdotool search --sync --onlyvisible --name '^Vurn -v0\.3\.4$' > /dev/null
sleep 1
kill -TERM "$pid"
status=0
timeout 20 tail --pid="$pid" -f /dev/null || { echo "vurn did not end on SIGTERM"; kill -9 "$pid"; exit 1; }
source "$here/player_exit.sh"
player_exit "$pid" "$work/vurn.log" || status=$?
echo "exit code $status"
exit "$status"
SESSION

xvfb-run -a bash "$work/session.sh" "$work" "$here" || { cat "$work/vurn.log"; exit 1; }
grep -qxF "File=$work/one.flac" "$work/Vurn.ini" || { echo "not saved on SIGTERM"; cat "$work/Vurn.ini" 2>/dev/null; exit 1; }
echo "saved on SIGTERM"
