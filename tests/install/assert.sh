# Small checks for the shell tests: each failed check is reported under the
# case it belongs to, and finish ends the test with the overall result.
failures=0
current_case=""

begin() {
    current_case=$1
    printf '[ case ] %s\n' "$1"
}

fail_check() {
    printf '  FAILED (%s): %s\n' "$current_case" "$*" >&2
    failures=$((failures + 1))
}

expect_equal() {  # ACTUAL EXPECTED WHAT
    [ "$1" = "$2" ] || fail_check "$3: got '$1', expected '$2'"
}

expect_link() {  # PATH TARGET
    if [ ! -L "$1" ]; then
        fail_check "$1 is not a link"
    elif [ "$(readlink -- "$1")" != "$2" ]; then
        fail_check "$1 points to $(readlink -- "$1"), expected $2"
    fi
}

expect_regular() {  # PATH CONTENT
    if [ -L "$1" ] || [ ! -f "$1" ]; then
        fail_check "$1 is not a file of its own"
    elif [ "$(cat -- "$1")" != "$2" ]; then
        fail_check "$1 holds '$(cat -- "$1")', expected '$2'"
    fi
}

expect_file() {  # PATH
    [ -f "$1" ] || fail_check "$1 is missing"
}

expect_missing() {  # PATH
    if [ -e "$1" ] || [ -L "$1" ]; then fail_check "$1 exists"; fi
}

finish() {
    if [ "$failures" -ne 0 ]; then
        printf '%d check(s) failed\n' "$failures" >&2
        exit 1
    fi
    printf 'all checks passed\n'
    exit 0
}
