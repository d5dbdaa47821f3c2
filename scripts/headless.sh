#!/usr/bin/env bash
# Runs a command in a private headless session: offscreen Qt and a private
# PulseAudio daemon whose null sink plays at real speed.
# The daemon is stopped when the command ends, pass or fail.
set -euo pipefail

runtime=$(mktemp -d /tmp/vurn-session.XXXXXX)
export XDG_RUNTIME_DIR="$runtime"
export QT_QPA_PLATFORM=offscreen
export PULSE_RUNTIME_PATH="$runtime/pulse"

stop_daemon() {
  local pid_file="$runtime/pulse/pid"
  if [ -f "$pid_file" ]; then
    kill "$(cat "$pid_file")" 2>/dev/null || true
    for _ in $(seq 50); do
      kill -0 "$(cat "$pid_file" 2>/dev/null)" 2>/dev/null || break
      sleep 0.1
    done
  fi
  rm -rf "$runtime"
}
trap stop_daemon EXIT

pulseaudio -D --exit-idle-time=-1 --system=false --log-target=file:"$runtime/pulse.log" 2>/dev/null \
  || pulseaudio -D --exit-idle-time=-1 --system=false
for _ in $(seq 50); do
  [ -S "$runtime/pulse/native" ] && break
  sleep 0.1
done

"$@"
