#!/usr/bin/env bash
# Installs the build into a temporary prefix and checks the installed tree as
# a desktop would read it: the desktop entry and the AppStream metainfo
# validate without a word, the icon the entry names is installed at every
# size, the shipped files are where the program looks; then starts the
# installed executable under Xvfb with a fresh home, closes it, and checks
# that its state went to the user's folders and not beside the executable.
set -euo pipefail
build="$1"
here="$(cd "$(dirname "$0")" && pwd)"
dest=$(mktemp -d /tmp/vurn-install.XXXXXX)
trap 'rm -rf "$dest"' EXIT
prefix="$dest/usr"
cmake --install "$build" --prefix "$prefix" > "$dest/install.log"

fail=0
problem() { echo "$*"; fail=1; }
need() { [ -e "$prefix/$1" ] || problem "not installed: $1"; }

id=org.vurn.vurn
need bin/vurn
need "share/applications/$id.desktop"
need "share/metainfo/$id.metainfo.xml"
need share/vurn/Vurn.txt
need share/vurn/Vurn.html
need share/vurn/alarm-tone.wav
need share/man/man1/vurn.1
[ -x "$prefix/bin/vurn" ] || problem "bin/vurn is not executable"
need share/vurn/translations/vurn_en.qm
# The installed program finds its catalogue: a German desktop reads English.
help=$(env -u LANGUAGE -u LC_ALL LANG=de_DE.UTF-8 QT_QPA_PLATFORM=offscreen "$prefix/bin/vurn" --help 2>/dev/null) \
  || problem "the installed vurn --help failed"
grep -qF "Start in the tray" <<<"$help" || problem "the installed vurn does not speak English to a German desktop"

# The wake helper and what lets the system bus start it and polkit judge it.
helper=libexec/vurn/vurn-wake-helper
need "$helper"
[ -x "$prefix/$helper" ] || problem "$helper is not executable"
need share/dbus-1/system-services/org.vurn.WakeHelper.service
need share/dbus-1/system.d/org.vurn.WakeHelper.conf
need share/polkit-1/actions/org.vurn.vurn.policy
need lib/systemd/system/vurn-wake-helper.service
grep -qxF "Exec=$prefix/$helper" "$prefix/share/dbus-1/system-services/org.vurn.WakeHelper.service" \
  || problem "the bus service does not start $prefix/$helper"
grep -qxF "ExecStart=$prefix/$helper" "$prefix/lib/systemd/system/vurn-wake-helper.service" \
  || problem "the systemd unit does not start $prefix/$helper"
grep -qxF "CapabilityBoundingSet=CAP_WAKE_ALARM" "$prefix/lib/systemd/system/vurn-wake-helper.service" \
  || problem "the systemd unit keeps more than CAP_WAKE_ALARM"
# ProtectClock= drops CAP_WAKE_ALARM too, which would leave the helper unable to wake anything.
! grep -q "^ProtectClock=yes" "$prefix/lib/systemd/system/vurn-wake-helper.service" \
  || problem "the systemd unit takes CAP_WAKE_ALARM away with ProtectClock"
for xml in share/dbus-1/system.d/org.vurn.WakeHelper.conf share/polkit-1/actions/org.vurn.vurn.policy; do
  /usr/bin/python3 -c 'import sys, xml.dom.minidom; xml.dom.minidom.parse(sys.argv[1])' "$prefix/$xml" \
    || problem "$xml is not well-formed"
done
for key in allow_any:no allow_inactive:no allow_active:yes; do
  grep -qF "<${key%%:*}>${key#*:}</${key%%:*}>" "$prefix/share/polkit-1/actions/org.vurn.vurn.policy" \
    || problem "the polkit action lacks ${key}"
done

desktop="$prefix/share/applications/$id.desktop"
out=$(desktop-file-validate "$desktop" 2>&1) || true
[ -z "$out" ] || problem "desktop-file-validate: $out"
out=$(appstreamcli validate --no-net --pedantic "$prefix/share/metainfo/$id.metainfo.xml" 2>&1) \
  || problem "appstreamcli failed"
if grep -qE '^[EWIP]: ' <<<"$out"; then problem "appstreamcli: $out"; fi
grep -qF "<launchable type=\"desktop-id\">$id.desktop</launchable>" "$prefix/share/metainfo/$id.metainfo.xml" \
  || problem "metainfo does not launch $id.desktop"
grep -qF "<release version=\"0.3.4\"" "$prefix/share/metainfo/$id.metainfo.xml" || problem "no release 0.3.4"

exec_line=$(sed -n 's/^Exec=//p' "$desktop")
[ "$exec_line" = "vurn %F" ] || problem "Exec is '$exec_line'"
icon=$(sed -n 's/^Icon=//p' "$desktop")
[ -f "$prefix/share/icons/hicolor/scalable/apps/$icon.svg" ] || problem "no scalable icon $icon.svg"
for size in 16 32 48 64 128 256; do
  png="$prefix/share/icons/hicolor/${size}x${size}/apps/$icon.png"
  if [ ! -f "$png" ]; then problem "no ${size}px icon"; continue; fi
  # Width and height from the PNG header.
  got=$(python3 -c 'import struct,sys; d=open(sys.argv[1],"rb").read(24); print("%dx%d" % struct.unpack(">II", d[16:24]))' "$png")
  [ "$got" = "${size}x${size}" ] || problem "${size}px icon is $got"
done

# The installed program, started by a user with a fresh home.
home="$dest/home"
mkdir -p "$home"
cat > "$dest/session.sh" <<'SESSION'
#!/usr/bin/env bash
set -euo pipefail
prefix="$1"; here="$2"; home="$3"
export HOME="$home" QT_QPA_PLATFORM=xcb
unset XDG_CONFIG_HOME XDG_DATA_HOME
export XDG_RUNTIME_DIR="$home/runtime"
mkdir -p -m 700 "$XDG_RUNTIME_DIR"
"$prefix/bin/vurn" > "$home/vurn.log" 2>&1 &
pid=$!
window=$(timeout 60 xdotool search --sync --onlyvisible --name '^Vurn -v0\.3\.4$' | head -n 1)
[ -n "$window" ] || { echo "no window"; kill "$pid"; exit 1; }
sleep 1
bash "$here/../app/close_window.sh" "$window" "$pid"
wait "$pid"
SESSION
xvfb-run -a bash "$dest/session.sh" "$prefix" "$here" "$home" || { cat "$home/vurn.log"; problem "the installed vurn did not run and close"; }
[ -f "$home/.config/Vurn/Vurn.ini" ] || problem "no Vurn.ini in ~/.config/Vurn"
found=$(find "$prefix" -name 'Vurn.ini*')
[ -z "$found" ] || problem "state written into the installed tree: $found"

if [ "$fail" -ne 0 ]; then exit 1; fi
echo "installed tree checked"
