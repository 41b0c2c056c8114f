# Playing the real game in the shell tests: an X server of its own (800 x 600,
# so no other test's window lies over it), start, wait for the first screen,
# close request, and the little file helpers the checks need.
# Needs $scratch (a folder removed afterwards); call end_session at exit.

x_display="" x_pid="" game_pid="" game_log=""

end_session() {
    [ -n "$game_pid" ] && kill -KILL "$game_pid" 2>/dev/null
    [ -n "$x_pid" ] && kill "$x_pid" 2>/dev/null && wait "$x_pid" 2>/dev/null
    game_pid="" x_pid=""
}

# Starts Xvfb on a display number it picks itself.
start_x_server() {
    [ -n "$x_pid" ] && return 0
    rm -f "$scratch/display"
    Xvfb -displayfd 3 -screen 0 800x600x24 -nolisten tcp 3>"$scratch/display" 2>"$scratch/xvfb.log" &
    x_pid=$!
    tries=0
    while [ ! -s "$scratch/display" ] || ! xdpyinfo -display ":$(cat "$scratch/display")" >/dev/null 2>&1; do
        tries=$((tries + 1))
        if [ $tries -gt 100 ] || ! kill -0 "$x_pid" 2>/dev/null; then
            echo "cannot start Xvfb: $(cat "$scratch/xvfb.log")" >&2
            return 1
        fi
        sleep 0.1
    done
    x_display=:$(cat "$scratch/display")
}

# start_game COMMAND FOLDER [NAME=VALUE...]: runs COMMAND from FOLDER with
# the variables given (XDG_DATA_HOME unset unless given) on the test's screen.
start_game() {
    command=$1 folder=$2
    shift 2
    start_x_server || return 1
    game_log=$scratch/game.log
    (cd "$folder" && exec env -u XDG_DATA_HOME DISPLAY="$x_display" VORTIQ_SEED=1 SDL_AUDIODRIVER=dummy \
        VORTIQ_MESSAGEBOX=print "$@" "$command") >"$game_log" 2>&1 &
    game_pid=$!
}

# wait_for_picture SHOT: true once the game's window shows and the screen
# (saved to SHOT) holds a picture, not a black or single-coloured field.
wait_for_picture() {
    tries=0
    while [ $tries -lt 120 ]; do
        kill -0 "$game_pid" 2>/dev/null || return 1
        if DISPLAY="$x_display" xdotool search --onlyvisible --name '^Vortiq$' >/dev/null 2>&1 &&
            import -display "$x_display" -window root "$1" 2>/dev/null; then
            bright=$(convert "$1" -crop 640x480+0+0 -format '%[fx:mean>0.05]' info: 2>/dev/null)
            colours=$(convert "$1" -crop 640x480+0+0 -format '%k' info: 2>/dev/null)
            [ "$bright" = 1 ] && [ "${colours:-0}" -gt 64 ] && return 0
        fi
        tries=$((tries + 1))
        sleep 0.5
    done
    return 1
}

# stop_game: the window system's close request (SIGTERM), then true when the
# game ends by itself with status 0 within half a minute.
stop_game() {
    kill -TERM "$game_pid" 2>/dev/null || return 1
    tries=0
    while kill -0 "$game_pid" 2>/dev/null; do
        tries=$((tries + 1))
        if [ $tries -gt 300 ]; then
            kill -KILL "$game_pid"
            wait "$game_pid" 2>/dev/null
            game_pid=""
            return 1
        fi
        sleep 0.1
    done
    wait "$game_pid"
    status=$?
    game_pid=""
    return $status
}

file_size() {
    if [ -f "$1" ]; then wc -c <"$1" | tr -d ' '; else echo missing; fi
}

# le32 N: N (0 or more) as four bytes, least significant first.
le32() {
    le32_value=$1 le32_byte=0
    while [ $le32_byte -lt 4 ]; do
        printf "\\$(printf '%03o' $((le32_value & 255)))"
        le32_value=$((le32_value >> 8)) le32_byte=$((le32_byte + 1))
    done
}

# own_scores FILE: two sorted tables of five named scores.
own_scores() {
    : >"$1"
    for entry in Ada:900 Bea:700 Cyd:500 Dot:300 Eve:100 Fay:800 Gus:600 Hal:400 Ivy:200 Jo\$:50; do
        printf '%s$$$$$$' "${entry%%:*}" >>"$1"
        le32 "${entry#*:}" >>"$1"
    done
}
