#!/usr/bin/env bash
# Installs what is missing, builds Vurn and starts the player.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
bash "$root/scripts/install-deps.sh"
cmake -S "$root" -B "$root/build" -DVURN_BUILD_TESTS=OFF -DVURN_BUILD_BENCH=OFF >/dev/null
cmake --build "$root/build" -j"$(nproc)" --target vurn
exec "$root/build/vurn"
