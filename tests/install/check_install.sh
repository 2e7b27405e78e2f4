#!/usr/bin/env bash
# Installs a built tree into a scratch root and checks what a desktop and a package manager
# see: the entry and the description validate, the icons are in place, the installed program
# answers --help, the entry's Exec line starts the main window on a virtual display, and the
# Debian package holds the same files and names its dependencies.
#   tests/install/check_install.sh BUILD_DIR
set -euo pipefail
build=$(realpath "$1")
app_id=org.ulvan.Ulvan
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
root=$scratch/root
fail() {
    echo "install check: $*" >&2
    exit 1
}

DESTDIR=$root cmake --install "$build" --prefix /usr >/dev/null
entry=$root/usr/share/applications/$app_id.desktop
desktop-file-validate "$entry"
appstreamcli validate --no-net --pedantic "$root/usr/share/metainfo/$app_id.metainfo.xml" >/dev/null
[ -f "$root/usr/share/icons/hicolor/scalable/apps/$app_id.svg" ] || fail "no scalable icon"
for size in 16 32 48 64 128 256; do
    icon=$root/usr/share/icons/hicolor/${size}x$size/apps/$app_id.png
    [ -f "$icon" ] || fail "no ${size}px icon"
    file -b "$icon" | grep -q "PNG image data, $size x $size" || fail "$icon is not $size px"
done
[ -f "$root/usr/share/doc/ulvan/LICENSE" ] || fail "no licence"

"$root/usr/bin/ulvan" --help | grep -q '^ulvan --help' || fail "installed ulvan --help"

# The entry's own command line, its field codes removed, run from the installed bin folder.
exec_line=$(sed -n 's/^Exec=//p' "$entry" | sed 's/ *%[fFuUdDnNickvm]//g')
wm_class=$(sed -n 's/^StartupWMClass=//p' "$entry")
export HOME=$scratch/home XDG_CONFIG_HOME=$scratch/home/.config
mkdir -p "$HOME"
PATH=$root/usr/bin:$PATH xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
    '"$exec_line"' &
    program=$!
    for _ in $(seq 1 150); do
        window=$(xdotool search --onlyvisible --class "'"$wm_class"'" 2>/dev/null | head -n 1) || true
        [ -n "$window" ] && break
        sleep 0.2
    done
    [ -n "$window" ] || { echo "install check: the entry started no window" >&2; kill $program; exit 1; }
    title=$(xdotool getwindowname "$window")
    kill $program
    wait $program 2>/dev/null || true
    case "$title" in Ulvan表*) ;; *) echo "install check: window \"$title\"" >&2; exit 1 ;; esac
'

# The package: the installed files, under /usr, with its dependencies.
(cd "$build" && cpack -G DEB -B "$scratch/package" >/dev/null)
deb=$(ls "$scratch"/package/ulvan_*.deb)
listed=$(dpkg-deb -c "$deb" | awk '{print $6}' | sed 's|^\./|/|' | grep -v '/$' | sort)
installed=$(cd "$root" && find . -type f | sed 's|^\.||' | sort)
[ "$listed" = "$installed" ] || fail "package files differ from the install: $(diff <(echo "$listed") <(echo "$installed"))"
depends=$(dpkg-deb -f "$deb" Depends)
for needed in libqt6widgets6 libqt6printsupport6 libqt6svg6 fonts-ipafont-mincho fonts-ipafont-gothic qt6-translations-l10n; do
    grep -q "$needed" <<<"$depends" || fail "package does not depend on $needed"
done
echo "install check: passed ($(basename "$deb"))"
