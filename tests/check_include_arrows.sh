#!/usr/bin/env bash
# Fails when a source folder includes a folder above it in this order (the
# order of the README's "Where things are"): the player never reaches for the
# desktop, the state files never for the alarms. The main window's alarm part,
# which wires the window to the alarms, is the one file allowed to.
set -euo pipefail
root="$1"
order=(app settings desktop alarm forms playlist player playlistfiles storage library)
allowed=(alarm/alarmscheduler.cpp)
declare -A rank
for i in "${!order[@]}"; do rank[${order[$i]}]=$i; done
status=0
for folder in "${order[@]}"; do
  for file in "$root/$folder"/*.cpp "$root/$folder"/*.h; do
    [ -e "$file" ] || continue
    name="$folder/$(basename "$file")"
    for a in "${allowed[@]}"; do [ "$name" = "$a" ] && continue 2; done
    while read -r target; do
      [ -n "$target" ] || continue
      [ -n "${rank[$target]+set}" ] || continue
      if [ "${rank[$target]}" -lt "${rank[$folder]}" ]; then
        echo "$name includes $target/, which lies above $folder/" >&2
        status=1
      fi
    done < <(sed -n 's|^#include "\([a-z]*\)/.*|\1|p' "$file" | sort -u)
  done
done
exit "$status"
