#!/bin/sh
# The Debian package.
#
# package_test.sh contents BUILD OUT   builds it; checks its fields and files
# package_test.sh apt BUILD OUT        also installs it with apt-get, plays the
#                                      installed game, and removes it again
#                                      (only with VORTIQ_TEST_PACKAGE=1, as root)
set -u
mode=$1 build=$2 out=$3
here=$(cd -- "$(dirname -- "$0")" && pwd)
. "$here/assert.sh"
. "$here/game_session.sh"

if [ "$mode" = apt ]; then
    if [ "${VORTIQ_TEST_PACKAGE:-}" != 1 ]; then
        echo "installing the package changes this machine: set VORTIQ_TEST_PACKAGE=1 to run this test"
        exit 77
    fi
    if [ "$(id -u)" != 0 ]; then
        echo "installing the package needs root"
        exit 77
    fi
fi

scratch=$(mktemp -d "${TMPDIR:-/tmp}/vortiq-package.XXXXXX") || exit 1
trap 'end_session; rm -rf -- "$scratch"' EXIT

begin "the package builds"
rm -rf -- "$out"
mkdir -p "$out"
(cd "$build" && cpack -G DEB -B "$out") >"$scratch/cpack.log" 2>&1 || {
    cat "$scratch/cpack.log"
    fail_check "cpack failed"
    finish
}
deb=$(ls "$out"/vortiq_*.deb 2>/dev/null | head -n 1)
[ -n "$deb" ] || { fail_check "no vortiq_*.deb in $out"; finish; }
echo "package: $deb ($(file_size "$deb") bytes)"

begin "the package declares what the game needs"
depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
for needed in libsdl2-2.0-0 libsdl2-mixer-2.0-0 libgl1 libglu1-mesa libc6 libstdc++6 xdg-utils; do
    printf '%s\n' "$depends" | tr ',' '\n' | sed 's/^ *//' | grep -q "^$needed\( \|$\)" ||
        fail_check "Depends lacks $needed"
done
expect_equal "$(dpkg-deb -f "$deb" Package)" "vortiq" "package name"
expect_equal "$(dpkg-deb -f "$deb" Section)" "games" "section"

begin "the package installs under /usr"
dpkg-deb -c "$deb" | awk '{print $6}' | sed 's|^\./|/|' >"$scratch/files"
for path in /usr/bin/vortiq /usr/libexec/vortiq/vortiq /usr/share/vortiq/base/tex00.bmp \
    /usr/share/vortiq/base/icon.bmp /usr/share/vortiq/help.htm /usr/share/vortiq/defaults/hiscores \
    /usr/share/vortiq/defaults/menu.inf /usr/share/applications/io.github.vortiq.Vortiq.desktop \
    /usr/share/metainfo/io.github.vortiq.Vortiq.metainfo.xml \
    /usr/share/icons/hicolor/48x48/apps/io.github.vortiq.Vortiq.png; do
    grep -qx "$path" "$scratch/files" || fail_check "the package lacks $path"
done
expect_equal "$(grep -c -v '^/usr\(/\|$\)' "$scratch/files")" "0" "files outside /usr"
expect_equal "$(grep -c -e '/base/hiscores$' -e '/base/menu.inf$' -e '/data.inf$' "$scratch/files")" "0" \
    "player files among the shared data"

[ "$mode" = contents ] && finish

begin "apt-get installs the package with its dependencies"
installed_before=$(dpkg-query -W -f='${Status}' vortiq 2>/dev/null | grep -c 'install ok installed')
DEBIAN_FRONTEND=noninteractive apt-get install -y "$(cd "$(dirname "$deb")" && pwd)/$(basename "$deb")" \
    >"$scratch/apt.log" 2>&1 || { cat "$scratch/apt.log"; fail_check "apt-get install failed"; finish; }
[ -x /usr/bin/vortiq ] || fail_check "no /usr/bin/vortiq after installing"
dpkg -I "$deb" | grep -q '^ Depends: ' || fail_check "dpkg -I shows no Depends"

begin "the installed game starts and shows its first screen"
mkdir -p "$scratch/elsewhere"
start_game /usr/bin/vortiq "$scratch/elsewhere" HOME="$scratch/home"
started=$(date +%s)
if wait_for_picture "$scratch/first-screen.png"; then
    echo "first screen after $(($(date +%s) - started)) s; $(convert "$scratch/first-screen.png" -crop 640x480+0+0 \
        -format 'mean %[fx:mean], %k colours' info:)"
    [ -n "${VORTIQ_SCREENSHOT:-}" ] && cp "$scratch/first-screen.png" "$VORTIQ_SCREENSHOT"
else
    fail_check "no first screen (game output: $(cat "$game_log"))"
fi
stop_game || fail_check "the game did not end cleanly on a close request: $(cat "$game_log")"
expect_equal "$(file_size "$scratch/home/.local/share/vortiq/base/menu.inf")" "12" "settings written at exit"

begin "the package comes off again"
if [ "$installed_before" = 0 ]; then
    DEBIAN_FRONTEND=noninteractive apt-get purge -y vortiq >"$scratch/apt.log" 2>&1 ||
        { cat "$scratch/apt.log"; fail_check "apt-get purge failed"; }
    expect_missing /usr/bin/vortiq
    expect_missing /usr/share/vortiq
fi
finish
