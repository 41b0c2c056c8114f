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

begin "the package installs under /usr in Debian's layout for games"
dpkg-deb -c "$deb" | awk '{print $6}' | sed 's|^\./|/|' >"$scratch/files"
data=/usr/share/games/vortiq
for path in /usr/games/vortiq /usr/libexec/vortiq/vortiq $data/base/tex00.bmp $data/base/icon.bmp \
    $data/help.htm $data/defaults/hiscores $data/defaults/menu.inf \
    /usr/share/applications/io.github.vortiq.Vortiq.desktop /usr/share/metainfo/io.github.vortiq.Vortiq.metainfo.xml \
    /usr/share/icons/hicolor/48x48/apps/io.github.vortiq.Vortiq.png /usr/share/man/man6/vortiq.6.gz \
    /usr/share/doc/vortiq/copyright /usr/share/doc/vortiq/changelog.gz; do
    grep -qx "$path" "$scratch/files" || fail_check "the package lacks $path"
done
expect_equal "$(grep -c -v '^/usr\(/\|$\)' "$scratch/files")" "0" "files outside /usr"
expect_equal "$(grep -c -e '^/usr/bin' -e '^/usr/share/vortiq' "$scratch/files")" "0" "files left in the plain layout"
expect_equal "$(grep -c -e '/base/hiscores$' -e '/base/menu.inf$' -e '/data.inf$' "$scratch/files")" "0" \
    "player files among the shared data"
mkdir -p "$scratch/unpacked"
dpkg-deb -x "$deb" "$scratch/unpacked"
# The launcher made for /usr/games finds the program and the data: asked for
# its version without a display, it answers through the packed program.
expect_equal "$(env -u DISPLAY -u WAYLAND_DISPLAY HOME="$scratch/nobody" "$scratch/unpacked/usr/games/vortiq" --version)" \
    "vortiq $(dpkg-deb -f "$deb" Version)" "version from the unpacked package"
grep -q '^share=.*/share/games/vortiq$' "$scratch/unpacked/usr/games/vortiq" ||
    fail_check "the packed launcher does not look in share/games/vortiq: $(grep '^share=' "$scratch/unpacked/usr/games/vortiq")"
expect_missing "$scratch/nobody"

begin "one maintainer and one version throughout"
maintainer=$(dpkg-deb -f "$deb" Maintainer)
version=$(dpkg-deb -f "$deb" Version)
doc=$scratch/unpacked/usr/share/doc/vortiq
metainfo=$scratch/unpacked/usr/share/metainfo/io.github.vortiq.Vortiq.metainfo.xml
expect_equal "$(gzip -dc "$doc/changelog.gz" | sed -n 's/^ -- \(.*>\)  .*/\1/p' | head -n 1)" "$maintainer" \
    "the changelog's maintainer"
expect_equal "$(gzip -dc "$doc/changelog.gz" | sed -n '1s/^vortiq (\([^)]*\)).*/\1/p')" "$version" \
    "the changelog's version"
expect_equal "$(sed -n 's/^Upstream-Contact: //p' "$doc/copyright")" "$maintainer" "the copyright file's contact"
expect_equal "$(sed -n 's|.*<developer_name>\(.*\)</developer_name>.*|\1|p' "$metainfo") <$(sed -n \
    's|.*<update_contact>\(.*\)</update_contact>.*|\1|p' "$metainfo")>" "$maintainer" "the AppStream maintainer"
expect_equal "$(sed -n 's|.*<release version="\([^"]*\)".*|\1|p' "$metainfo" | head -n 1)" "$version" \
    "the AppStream release"
expect_equal "$(gzip -dc "$scratch/unpacked/usr/share/man/man6/vortiq.6.gz" | sed -n 's/^\.TH VORTIQ 6 [^ ]* "Vortiq \([^"]*\)".*/\1/p')" \
    "$version" "the manual page's version"
case $maintainer in
    *noreply* | *example* | *localhost*) fail_check "the maintainer is a placeholder: $maintainer" ;;
esac

begin "lintian finds nothing to warn about"
if command -v lintian >/dev/null 2>&1; then
    lintian --fail-on error,warning --tag-display-limit 0 "$deb" >"$scratch/lintian.log" 2>&1 ||
        fail_check "lintian: $(cat "$scratch/lintian.log")"
    cat "$scratch/lintian.log"
else
    fail_check "lintian is not installed (make deps installs it)"
fi

[ "$mode" = contents ] && finish

begin "apt-get installs the package with its dependencies"
installed_before=$(dpkg-query -W -f='${Status}' vortiq 2>/dev/null | grep -c 'install ok installed')
DEBIAN_FRONTEND=noninteractive apt-get install -y "$(cd "$(dirname "$deb")" && pwd)/$(basename "$deb")" \
    >"$scratch/apt.log" 2>&1 || { cat "$scratch/apt.log"; fail_check "apt-get install failed"; finish; }
[ -x /usr/games/vortiq ] || fail_check "no /usr/games/vortiq after installing"
expect_file /usr/share/man/man6/vortiq.6.gz
dpkg -I "$deb" | grep -q '^ Depends: ' || fail_check "dpkg -I shows no Depends"

begin "the installed game starts and shows its first screen"
mkdir -p "$scratch/elsewhere"
start_game /usr/games/vortiq "$scratch/elsewhere" HOME="$scratch/home"
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
    expect_missing /usr/games/vortiq
    expect_missing /usr/share/games/vortiq
fi
finish
