#!/usr/bin/env bash
# Installs the Debian 12 packages Vurn needs to build, run and test; does nothing
# when they are all present, all in one apt-get call.
set -euo pipefail

packages=(
  fonts-noto-cjk
  cmake g++ make pkg-config
  qtbase5-dev qttools5-dev qttools5-dev-tools qttranslations5-l10n libtag1-dev
  libgstreamer1.0-dev libgstreamer-plugins-base1.0-dev gstreamer1.0-plugins-base gstreamer1.0-plugins-good
  gstreamer1.0-libav gstreamer1.0-plugins-ugly gstreamer1.0-pulseaudio lame
  libpulse-dev pulseaudio pulseaudio-utils xvfb xauth xdotool python3-xlib sox libsox-fmt-all ffmpeg vorbis-tools
  dbus-daemon python3-dbusmock faketime tzdata desktop-file-utils appstream
  dpkg-dev debhelper fakeroot lintian
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
$sudo apt-get update
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y "${packages[@]}"
