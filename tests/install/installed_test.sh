#!/bin/sh
# The game installed into a scratch prefix.
#
# installed_test.sh prepare BUILD PREFIX
# installed_test.sh files BUILD PREFIX BINDIR PROGRAMDIR DATADIR SHAREDIR APPID "SIZES"
# installed_test.sh run BUILD PREFIX BINDIR
set -u
mode=$1 build=$2 prefix=$3
case $prefix in /*) ;; *) prefix=$PWD/$prefix ;; esac
here=$(cd -- "$(dirname -- "$0")" && pwd)
. "$here/assert.sh"
. "$here/game_session.sh"

case $mode in
prepare)
    rm -rf -- "$prefix"
    cmake --install "$build" --prefix "$prefix" || exit 1
    exit 0
    ;;

files)
    bindir=$4 programdir=$5 datadir=$6 sharedir=$7 appid=$8 sizes=$9

    begin "the launcher, the program and the data are where the launcher looks"
    [ -x "$prefix/$bindir/vortiq" ] || fail_check "no launcher $prefix/$bindir/vortiq"
    [ -x "$prefix/$programdir/vortiq" ] || fail_check "no program $prefix/$programdir/vortiq"
    expect_equal "$(head -c 2 "$prefix/$bindir/vortiq")" "#!" "the launcher is a script"
    for name in tex00.bmp tex80.bmp icon.bmp s1.raw s7.raw theme1.xm theme2.xm; do
        expect_file "$prefix/$datadir/base/$name"
    done
    expect_equal "$(ls "$prefix/$datadir/base" | grep -c '^tex[0-9][0-9]\.bmp$')" "81" "pictures"
    expect_equal "$(ls "$prefix/$datadir/base/2x" | grep -c '^tex[0-9][0-9]\.bmp$')" "81" "large pictures"
    expect_equal "$(ls "$prefix/$datadir/base" | grep -c '\.wav$')" "11" "sounds"
    expect_file "$prefix/$datadir/help.htm"

    begin "the player's files ship only as defaults, never as shared data"
    for name in hiscores menu.inf data.inf .generated; do
        expect_missing "$prefix/$datadir/base/$name"
    done
    expect_missing "$prefix/$datadir/defaults/data.inf"
    expect_equal "$(wc -c <"$prefix/$datadir/defaults/hiscores" | tr -d ' ')" "130" "size of the default high scores"
    expect_equal "$(wc -c <"$prefix/$datadir/defaults/menu.inf" | tr -d ' ')" "12" "size of the default settings"

    begin "the manual page, the licence and the changelog are installed"
    expect_file "$prefix/$sharedir/man/man6/vortiq.6.gz"
    expect_file "$prefix/$sharedir/doc/vortiq/copyright"
    expect_file "$prefix/$sharedir/doc/vortiq/changelog.gz"
    if command -v man >/dev/null 2>&1; then
        MANWIDTH=80 man -l "$prefix/$sharedir/man/man6/vortiq.6.gz" 2>"$prefix.man-warnings" | grep -q 'EXIT STATUS' ||
            fail_check "the manual page does not read"
        expect_equal "$(cat "$prefix.man-warnings")" "" "warnings of man"
        rm -f -- "$prefix.man-warnings"
    fi

    begin "--help and --version answer without a display and make no player's folder"
    answers=$(mktemp -d "${TMPDIR:-/tmp}/vortiq-answers.XXXXXX") || exit 1
    ask() {  # OPTION: the installed command's answer in $answers/out, err, status
        (cd "$answers" && env -u DISPLAY -u WAYLAND_DISPLAY HOME="$answers/home" XDG_DATA_HOME= \
            "$prefix/$bindir/vortiq" "$1" >"$answers/out" 2>"$answers/err")
        echo $? >"$answers/status"
    }
    ask --help
    expect_equal "$(cat "$answers/status")" "0" "exit status of --help"
    expect_equal "$(head -n 1 "$answers/out")" "Usage: vortiq [OPTION]" "first line of --help"
    grep -q 'local/share/vortiq' "$answers/out" || fail_check "--help does not say where the player's files live"
    ask --version
    expect_equal "$(cat "$answers/status")" "0" "exit status of --version"
    grep -qx 'vortiq [0-9][0-9.]*' "$answers/out" || fail_check "--version printed '$(cat "$answers/out")'"
    ask --no-such-option
    expect_equal "$(cat "$answers/status")" "2" "exit status of an unknown option"
    expect_equal "$(head -n 1 "$answers/err")" "vortiq: unknown option '--no-such-option'" "refusal"
    expect_equal "$(cat "$answers/out")" "" "output of a refusal"
    expect_missing "$answers/home"
    rm -rf -- "$answers"

    begin "the desktop entry and the software-centre data pass their validators"
    desktop=$prefix/$sharedir/applications/$appid.desktop
    metainfo=$prefix/$sharedir/metainfo/$appid.metainfo.xml
    expect_file "$desktop"
    expect_file "$metainfo"
    desktop-file-validate "$desktop" || fail_check "desktop-file-validate $desktop"
    appstreamcli validate --no-net "$metainfo" || fail_check "appstreamcli validate $metainfo"
    expect_equal "$(sed -n 's/^Exec=//p' "$desktop")" "vortiq" "command of the desktop entry"
    expect_equal "$(sed -n 's/^Icon=//p' "$desktop")" "$appid" "icon of the desktop entry"
    grep -q "<launchable type=\"desktop-id\">$appid.desktop</launchable>" "$metainfo" ||
        fail_check "the metainfo does not launch $appid.desktop"

    begin "the icon at every size is a square RGBA picture, clear at the corners"
    for size in $sizes; do
        icon=$prefix/$sharedir/icons/hicolor/${size}x$size/apps/$appid.png
        if [ ! -f "$icon" ]; then
            fail_check "no icon $icon"
            continue
        fi
        expect_equal "$(identify -format '%m %w %h' "$icon")" "PNG $size $size" "$icon"
        expect_equal "$(convert "$icon" -format '%[channels]' info:)" "srgba" "channels of $icon"
        expect_equal "$(convert "$icon" -format '%[fx:p[0,0].a]' info:)" "0" "corner of $icon"
        half=$((size / 2))
        expect_equal "$(convert "$icon" -format "%[fx:p[$half,$half].a]" info:)" "1" "middle of $icon"
    done

    finish
    ;;

run)
    bindir=$4
    scratch=$(mktemp -d "${TMPDIR:-/tmp}/vortiq-installed.XXXXXX") || exit 1
    trap 'end_session; rm -rf -- "$scratch"' EXIT
    mkdir -p "$scratch/elsewhere"
    launcher=$prefix/$bindir/vortiq

    begin "started from another folder, the game keeps its files in the player's folder"
    home=$scratch/player1
    start_game "$launcher" "$scratch/elsewhere" HOME="$home"
    wait_for_picture "$scratch/shot1.png" || fail_check "the first screen never showed (game output: $(cat "$game_log"))"
    window=$(DISPLAY=$x_display xdotool search --onlyvisible --name '^Vortiq$' | head -n 1)
    DISPLAY=$x_display xprop -id "$window" _NET_WM_ICON WM_CLASS >"$scratch/properties" 2>&1
    grep -q 'Icon (64 x 64)' "$scratch/properties" || fail_check "the window has no 64 x 64 icon: $(head -c 300 "$scratch/properties")"
    grep -q '^WM_CLASS.*"io.github.vortiq.Vortiq"' "$scratch/properties" ||
        fail_check "the window's class does not name the desktop entry: $(grep WM_CLASS "$scratch/properties")"
    # The start-up prompt's second button begins a new game, which is saved at exit.
    DISPLAY=$x_display xdotool mousemove 478 210 sleep 0.3 click 1
    sleep 1
    stop_game || fail_check "the game did not end cleanly on a close request: $(cat "$game_log")"
    player=$home/.local/share/vortiq
    expect_equal "$(file_size "$player/base/menu.inf")" "12" "settings written at exit"
    expect_equal "$(file_size "$player/base/data.inf")" "340" "game saved at exit"
    expect_equal "$(file_size "$player/base/hiscores")" "130" "high scores"
    [ -L "$player/base/tex00.bmp" ] || fail_check "the pictures are not shared"
    [ -f "$player/base/2x/tex80.bmp" ] || fail_check "the large pictures are not shared"
    expect_equal "$(ls -A "$scratch/elsewhere")" "" "files left in the starting folder"

    begin "a second player's own scores and settings come through a game untouched"
    home2=$scratch/player2
    mkdir -p "$scratch/data2/vortiq/base"
    own_scores "$scratch/data2/vortiq/base/hiscores"
    cp "$scratch/data2/vortiq/base/hiscores" "$scratch/scores.expected"
    le32 0 >"$scratch/data2/vortiq/base/menu.inf"
    le32 0 >>"$scratch/data2/vortiq/base/menu.inf"
    le32 0 >>"$scratch/data2/vortiq/base/menu.inf"
    cp "$scratch/data2/vortiq/base/menu.inf" "$scratch/settings.expected"
    i=0
    while [ $i -lt 85 ]; do le32 $((i % 7 + 1)); i=$((i + 1)); done >"$scratch/data2/vortiq/base/data.inf"
    cp "$scratch/data2/vortiq/base/data.inf" "$scratch/game.expected"
    first_before=$(cksum "$player/base/hiscores" "$player/base/menu.inf")
    start_game "$launcher" "$scratch/elsewhere" HOME="$home2" XDG_DATA_HOME="$scratch/data2"
    wait_for_picture "$scratch/shot2.png" || fail_check "the first screen never showed (game output: $(cat "$game_log"))"
    stop_game || fail_check "the game did not end cleanly on a close request: $(cat "$game_log")"
    cmp "$scratch/scores.expected" "$scratch/data2/vortiq/base/hiscores" || fail_check "the second player's scores changed"
    cmp "$scratch/settings.expected" "$scratch/data2/vortiq/base/menu.inf" || fail_check "the second player's settings changed"
    cmp "$scratch/game.expected" "$scratch/data2/vortiq/base/data.inf" || fail_check "the second player's saved game changed"
    expect_missing "$home2/.local/share/vortiq"
    expect_equal "$(cksum "$player/base/hiscores" "$player/base/menu.inf")" \
        "$first_before" "the first player's files after the second player's game"

    finish
    ;;
*)
    echo "installed_test.sh: unknown mode $mode" >&2
    exit 2
    ;;
esac
