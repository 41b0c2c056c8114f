#!/bin/sh
# The launcher on its own: a fake installed tree whose "game" only records
# where it was started and what it found there.
#
# launcher_test.sh LAUNCHER BINDIR PROGRAMDIR DATADIR
set -u
launcher=$1 bindir=$2 programdir=$3 datadir=$4

. "$(dirname -- "$0")/assert.sh"

scratch=$(mktemp -d "${TMPDIR:-/tmp}/vortiq-launcher.XXXXXX") || exit 1
trap 'rm -rf -- "$scratch"' EXIT

# make_tree PREFIX: an installed tree with three data files and the defaults.
make_tree() {
    mkdir -p "$1/$bindir" "$1/$programdir" "$1/$datadir/base" "$1/$datadir/defaults"
    cp -- "$launcher" "$1/$bindir/vortiq"
    chmod 755 "$1/$bindir/vortiq"
    cat >"$1/$programdir/vortiq" <<'EOF'
#!/bin/sh
pwd -P >"$VORTIQ_TEST_RECORD/cwd"
printf '%s\n' "$@" >"$VORTIQ_TEST_RECORD/arguments"
ls -A base >"$VORTIQ_TEST_RECORD/files"
printf '%s\n' "$SDL_VIDEO_X11_WMCLASS" >"$VORTIQ_TEST_RECORD/wmclass"
[ -n "${VORTIQ_TEST_WRITE:-}" ] && printf '%s' "$VORTIQ_TEST_WRITE" >base/hiscores
exit "${VORTIQ_TEST_EXIT:-0}"
EOF
    chmod 755 "$1/$programdir/vortiq"
    printf 'picture' >"$1/$datadir/base/tex00.bmp"
    mkdir -p "$1/$datadir/base/2x" && printf 'large picture' >"$1/$datadir/base/2x/tex00.bmp"
    printf 'mesh' >"$1/$datadir/base/s1.raw"
    printf 'music' >"$1/$datadir/base/theme1.xm"
    printf '<html></html>' >"$1/$datadir/help.htm"
    printf 'shipped scores' >"$1/$datadir/defaults/hiscores"
    printf 'shipped settings' >"$1/$datadir/defaults/menu.inf"
}

record=$scratch/record
mkdir -p "$record"
export VORTIQ_TEST_RECORD="$record"
prefix="$scratch/usr"
make_tree "$prefix"

# run_as HOME [XDG_DATA_HOME]: runs the launcher from elsewhere as that player.
elsewhere=$scratch/elsewhere
mkdir -p "$elsewhere"
run_as() {
    rm -f "$record"/*
    if [ $# -ge 2 ]; then
        (cd "$elsewhere" && env HOME="$1" XDG_DATA_HOME="$2" "$prefix/$bindir/vortiq")
    else
        (cd "$elsewhere" && env -u XDG_DATA_HOME HOME="$1" "$prefix/$bindir/vortiq")
    fi
}

begin "a new player gets a folder of links and default files, and the game runs in it"
home="$scratch/home one"
run_as "$home"
player="$home/.local/share/vortiq"
expect_equal "$(cat "$record/cwd")" "$(cd "$player" && pwd -P)" "working directory of the game"
for name in tex00.bmp s1.raw theme1.xm 2x; do
    expect_link "$player/base/$name" "$prefix/$datadir/base/$name"
done
expect_regular "$player/base/2x/tex00.bmp" "large picture"
expect_link "$player/help.htm" "$prefix/$datadir/help.htm"
expect_regular "$player/base/hiscores" "shipped scores"
expect_regular "$player/base/menu.inf" "shipped settings"
expect_missing "$player/base/data.inf"
expect_equal "$(cat "$record/wmclass")" "io.github.vortiq.Vortiq" "window class"
expect_equal "$(ls -A "$player/base" | grep -c new)" "0" "temporary files left behind"

begin "the player's own files are never replaced"
printf 'my scores' >"$player/base/hiscores"
printf 'my settings' >"$player/base/menu.inf"
printf 'my game' >"$player/base/data.inf"
printf 'my picture' >"$player/base/s1.raw.mine"
rm "$player/base/tex00.bmp" && printf 'my own picture' >"$player/base/tex00.bmp"
run_as "$home"
expect_regular "$player/base/hiscores" "my scores"
expect_regular "$player/base/menu.inf" "my settings"
expect_regular "$player/base/data.inf" "my game"
expect_regular "$player/base/tex00.bmp" "my own picture"
expect_regular "$player/base/s1.raw.mine" "my picture"

begin "a player's file that went missing comes back from the defaults, the others stay"
rm "$player/base/menu.inf"
run_as "$home"
expect_regular "$player/base/menu.inf" "shipped settings"
expect_regular "$player/base/hiscores" "my scores"

begin "two players on one machine keep scores of their own"
VORTIQ_TEST_WRITE="first player's scores" run_as "$scratch/first"
run_as "$scratch/second"
expect_regular "$scratch/first/.local/share/vortiq/base/hiscores" "first player's scores"
expect_regular "$scratch/second/.local/share/vortiq/base/hiscores" "shipped scores"

begin "an upgrade brings new data, drops old data and keeps the player's files"
printf 'new sound' >"$prefix/$datadir/base/menu.wav"
rm "$prefix/$datadir/base/s1.raw"
printf 'new picture' >"$prefix/$datadir/base/tex01.bmp"
run_as "$home"
expect_link "$player/base/menu.wav" "$prefix/$datadir/base/menu.wav"
expect_link "$player/base/tex01.bmp" "$prefix/$datadir/base/tex01.bmp"
expect_missing "$player/base/s1.raw"
expect_regular "$player/base/hiscores" "my scores"
expect_regular "$player/base/data.inf" "my game"
expect_equal "$(grep -c 's1.raw$' "$record/files")" "0" "the game still sees the dropped file"

begin "a tree moved to another place is linked anew"
mv "$prefix" "$scratch/opt"
prefix="$scratch/opt"
run_as "$home"
expect_link "$player/base/theme1.xm" "$prefix/$datadir/base/theme1.xm"
expect_link "$player/help.htm" "$prefix/$datadir/help.htm"

begin "XDG_DATA_HOME chooses the folder when it is an absolute path"
run_as "$scratch/home2" "$scratch/data"
expect_regular "$scratch/data/vortiq/base/hiscores" "shipped scores"
expect_missing "$scratch/home2/.local/share/vortiq"
run_as "$scratch/home3" ""
expect_regular "$scratch/home3/.local/share/vortiq/base/menu.inf" "shipped settings"
run_as "$scratch/home4" "relative/data"
expect_regular "$scratch/home4/.local/share/vortiq/base/menu.inf" "shipped settings"
expect_missing "$elsewhere/relative"

begin "started through a link to the launcher from elsewhere"
mkdir -p "$scratch/links"
ln -s "$prefix/$bindir/vortiq" "$scratch/links/vortiq"
rm -f "$record"/*
(cd "$scratch" && env HOME="$scratch/home5" XDG_DATA_HOME= ./links/vortiq)
expect_equal "$(cat "$record/cwd")" "$(cd "$scratch/home5/.local/share/vortiq" && pwd -P)" "working directory"
expect_link "$scratch/home5/.local/share/vortiq/base/tex00.bmp" "$prefix/$datadir/base/tex00.bmp"

begin "the game's exit status is the launcher's"
VORTIQ_TEST_EXIT=3 run_as "$home"
expect_equal "$?" "3" "exit status"

begin "options go to the game as they are, with no player's folder made"
rm -f "$record"/*
(cd "$elsewhere" && env HOME="$scratch/home8" "$prefix/$bindir/vortiq" --help "two words")
expect_equal "$(cat "$record/arguments")" "$(printf '%s\n' --help "two words")" "arguments"
expect_equal "$(cat "$record/cwd")" "$(cd "$elsewhere" && pwd -P)" "working directory of the game"
expect_missing "$scratch/home8"
(cd "$elsewhere" && env HOME="$scratch/home8" VORTIQ_TEST_EXIT=2 "$prefix/$bindir/vortiq" --bogus)
expect_equal "$?" "2" "exit status of a refused option"
expect_missing "$scratch/home8"

begin "a folder that cannot be made stops the launcher with a message, before the game"
printf 'in the way' >"$scratch/blocker"
run_as "$scratch/home6" "$scratch/blocker/data" 2>"$scratch/message"
expect_equal "$?" "1" "exit status"
expect_missing "$record/cwd"
expect_equal "$(grep -c 'vortiq: cannot make your game folder' "$scratch/message")" "1" "message"

begin "missing game data stops the launcher with a message"
mv "$prefix/$datadir/base" "$prefix/$datadir/base.away"
run_as "$scratch/home7" 2>"$scratch/message"
expect_equal "$?" "1" "exit status"
expect_missing "$record/cwd"
expect_equal "$(grep -c 'game data is missing' "$scratch/message")" "1" "message"
mv "$prefix/$datadir/base.away" "$prefix/$datadir/base"

begin "without HOME or XDG_DATA_HOME there is a message, not a folder in /"
rm -f "$record"/*
(cd "$elsewhere" && env -u HOME -u XDG_DATA_HOME "$prefix/$bindir/vortiq") 2>"$scratch/message"
expect_equal "$?" "1" "exit status"
expect_missing "$record/cwd"
expect_equal "$(grep -c 'neither XDG_DATA_HOME nor HOME' "$scratch/message")" "1" "message"

finish
