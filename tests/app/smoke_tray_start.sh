#!/usr/bin/env bash
# The command the login entry runs, `vurn --tray`: where the desktop has no
# tray (as here) the player starts minimised, and it runs and closes as
# usual; a plain start asks for a normal window.
set -euo pipefail
exe="$1"
here="$(cd "$(dirname "$0")" && pwd)"
work=$(mktemp -d /tmp/vurn-tray.XXXXXX)
trap 'rm -rf "$work"' EXIT
cp "$exe" "$work/vurn"
touch "$work/portable"

cat > "$work/session.sh" <<'SESSION'
#!/usr/bin/env bash
set -euo pipefail
work="$1"; here="$2"
export QT_QPA_PLATFORM=xcb
source "$here/player_exit.sh"
for start in "--tray:iconic" ":normal"; do
  option="${start%%:*}"; expected="${start#*:}"
  "$work/vurn" $option > "$work/vurn.log" 2>&1 &
  pid=$!
  window=$(timeout 60 xdotool search --sync --name '^Vurn -v0\.3\.4$' | head -n 1)
  [ -n "$window" ] || { echo "no window for '$option'"; kill "$pid"; exit 1; }
  sleep 1
  state=$(/usr/bin/python3 "$here/wm_hints.py" "$window")
  echo "vurn $option: $state"
  [ "$state" = "$expected" ] || { echo "expected $expected"; kill "$pid"; exit 1; }
  kill -TERM "$pid"
  player_exit "$pid" "$work/vurn.log"
done
SESSION

xvfb-run -a bash "$work/session.sh" "$work" "$here" || { cat "$work/vurn.log"; exit 1; }
