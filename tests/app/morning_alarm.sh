# Sourced by the smoke tests that ring a 07:00 alarm under a faked wall clock
# (libfaketime; timers keep the real monotonic clock).

# faketime_library: the preload's path, or a message and failure.
faketime_library() {
  local lib
  lib=$(ls /usr/lib/*/faketime/libfaketime.so.1 2>/dev/null | head -n 1)
  [ -n "$lib" ] || { echo "libfaketime not installed" >&2; return 1; }
  echo "$lib"
}

# morning_alarm_folder WORK EXE [GENERAL-LINE...]: a portable copy of the
# player in WORK with a one-minute tone as its playlist and one enabled alarm,
# Mondays at 07:00 at volume 50, played in full repeat. Extra lines go into
# [General].
morning_alarm_folder() {
  local work="$1" exe="$2"
  shift 2
  cp "$exe" "$work/vurn"
  cp "$(dirname "$exe")/alarm-tone.wav" "$work/" 2>/dev/null || true
  sox -n -r 22050 -c 1 "$work/wake.flac" synth 60 sine 440 vol 0.2
  {
    printf '[General]\nRepeatMode=全曲リピート(>>)\nVolume=35\nalarmEnable=true\n'
    local line
    for line in "$@"; do printf '%s\n' "$line"; done
    printf '\n[0]\nFile=%s/wake.flac\n\n' "$work"
    # Week digit 0 is Monday; 2024-01-01, the day the tests fake, was one.
    printf '[Alarm0]\nEnabled=true\nTime=07:00\nWeek=0\nPlayList=標準プレイリスト\n'
    printf 'PlayMode=全曲リピート(>>)\nFirstPlay=false\nInterrupt=true\nVolume=50\nVolumeControl=しない\n'
  } > "$work/Vurn.ini"
}

# fake_clock_at WORK "2024-01-01 06:59:45": from now on the player in WORK
# reads that local time (libfaketime reads a "+N"/"-N" seconds offset).
fake_clock_at() {
  printf '%+d\n' "$(( $(date -d "$2" +%s) - $(date +%s) ))" > "$1/faketime"
}

# start_faked_player WORK LIB: starts WORK's player on the X display under
# the faked clock, its output in WORK/vurn.log; sets pid.
start_faked_player() {
  local work="$1" lib="$2"
  # A sanitizer build wants its runtime first among the preloads; libfaketime
  # only wraps the clock calls, so the order does not matter here.
  ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}verify_asan_link_order=0" QT_QPA_PLATFORM=xcb \
    LD_PRELOAD="$lib" FAKETIME_TIMESTAMP_FILE="$work/faketime" FAKETIME_NO_CACHE=1 \
    FAKETIME_DONT_FAKE_MONOTONIC=1 "$work/vurn" > "$work/vurn.log" 2>&1 &
  pid=$!
}
