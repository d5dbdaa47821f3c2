#!/usr/bin/env bash
# A session that ends sends SIGTERM (a terminal SIGINT, a closed terminal
# SIGHUP): the player closes as from its window, with exit code 0, and what
# was added before is in the saved state, whatever box or dialog is open,
# and also when the end of an add would open one while closing.
set -euo pipefail
exe="$1"
here="$(cd "$(dirname "$0")" && pwd)"
work=$(mktemp -d /tmp/vurn-term.XXXXXX)
trap 'rm -rf "$work"' EXIT
cp "$exe" "$work/vurn"
touch "$work/portable"
sox -n -r 22050 -c 1 "$work/one.flac" synth 2 sine 440 vol 0.2
# Enough unreadable files that their add is still under way at the signal;
# its end reports them in a box.
mkdir "$work/many"
(cd "$work/many" && seq -f 'bad%g.mp3' 1 20000 | xargs touch)

cat > "$work/session.sh" <<'SESSION'
#!/usr/bin/env bash
set -euo pipefail
work="$1"; here="$2"
export QT_QPA_PLATFORM=xcb
source "$here/player_exit.sh"

# end_with CASE SIGNAL KEYS BOX SECONDS FILES...: starts the player with
# FILES, types KEYS into its window (none: "-"), waits for a box titled BOX
# (none: ""), sends SIGNAL and checks that the player ends within SECONDS and
# saves. A box that waits for a person never ends, so SECONDS can be generous.
end_with() {
  local name="$1" signal="$2" keys="$3" box="$4" limit="$5"
  shift 5
  rm -f "$work/Vurn.ini"
  "$work/vurn" "$@" > "$work/vurn.log" 2>&1 &
  local pid=$!
  local window
  window=$(timeout 60 xdotool search --sync --onlyvisible --name '^Vurn -v0\.3\.4$' | head -1)
  if [ "$keys" != "-" ]; then
    sleep 1
    xdotool windowfocus --sync "$window" 2> /dev/null || true
    xdotool key "$keys"
  fi
  if [ -n "$box" ]; then
    timeout 20 xdotool search --sync --onlyvisible --name "$box" > /dev/null \
      || { echo "$name: no box \"$box\""; kill -9 "$pid"; return 1; }
  fi
  kill -"$signal" "$pid"
  timeout "$limit" tail --pid="$pid" -f /dev/null \
    || { echo "$name: vurn did not end on SIG$signal"; kill -9 "$pid"; cat "$work/vurn.log"; return 1; }
  local status=0
  player_exit "$pid" "$work/vurn.log" || status=$?
  [ "$status" -eq 0 ] || { echo "$name: exit code $status"; cat "$work/vurn.log"; return 1; }
  [ -f "$work/Vurn.ini" ] || { echo "$name: nothing saved"; return 1; }
  if [ "${1:-}" = "$work/one.flac" ]; then
    grep -qxF "File=$work/one.flac" "$work/Vurn.ini" || { echo "$name: playlist not saved"; return 1; }
  fi
  echo "$name: ended and saved"
}

end_with "nothing open" TERM - "" 20 "$work/one.flac"
end_with "warning box (next with an empty list)" TERM ctrl+n 'プレイリストエラー' 20
end_with "add dialog" INT ctrl+a 'ファイルを選択して下さい' 20 "$work/one.flac"
end_with "settings window" HUP ctrl+s 'Vurn Settings' 20 "$work/one.flac"
# Closing reads the rest of the add first, which takes a while under the sanitizers.
end_with "add under way" TERM - "" 150 "$work/one.flac" "$work/many"
SESSION

xvfb-run -a bash "$work/session.sh" "$work" "$here"
