#!/usr/bin/env bash
# Builds the binary Debian package from this tree, checks it with lintian,
# and prints the path of the .deb as its last line.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
bash "$root/scripts/install-deps.sh"

# Built from a clean copy: the package must not depend on whatever build
# folders lie in the tree.
work=$(mktemp -d /tmp/vurn-package.XXXXXX)
trap 'rm -rf "$work"' EXIT
mkdir "$work/vurn"
tar -C "$root" --exclude=./.git --exclude='./build*' --exclude=./dist -cf - . | tar -C "$work/vurn" -xf -
(cd "$work/vurn" && dpkg-buildpackage -b -us -uc) > "$work/build.log" 2>&1 \
  || { tail -n 60 "$work/build.log"; echo "package build failed" >&2; exit 1; }

deb=$(ls "$work"/vurn_*.deb | head -n 1)
mkdir -p "$root/dist"
cp "$deb" "$root/dist/"
deb="$root/dist/$(basename "$deb")"

echo "--- lintian"
lintian --fail-on error "$deb" || { echo "lintian found errors" >&2; exit 1; }
echo "--- depends"
dpkg-deb --field "$deb" Depends
echo "$deb"
