#!/usr/bin/env bash
# Fails when the repository's root holds something this list does not name:
# a log, a core file, a stray redirect's output committed or about to be.
# Ignored files (.gitignore: build trees, logs) do not count. A new top-level
# folder is added here on purpose, with a line in the README's map.
set -euo pipefail
root="$1"
known=(
  .ci .git .gitignore CMakeLists.txt LICENSE README.md
  alarm app bench debian desktop forms library player playlist playlistfiles
  resources scripts settings storage tests translations wakehelper
)
if ! git -C "$root" rev-parse --is-inside-work-tree >/dev/null 2>&1; then
  echo "not a git work tree: nothing tells the project's files from others" >&2
  exit 77
fi
# Tracked files and untracked ones that are not ignored, by their first component.
mapfile -t present < <(cd "$root" && { git ls-files; git ls-files --others --exclude-standard; } \
  | cut -d/ -f1 | sort -u)
status=0
for name in "${present[@]}"; do
  listed=0
  for k in "${known[@]}"; do [ "$name" = "$k" ] && listed=1 && break; done
  if [ "$listed" -eq 0 ]; then
    echo "not a file of the project at the root: $name" >&2
    status=1
  fi
done
exit "$status"
