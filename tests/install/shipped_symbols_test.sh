#!/bin/sh
# The game as shipped carries nothing made for tests or the benchmark: none
# of the support libraries' own symbols, none of the bench program's hooks.
# The benchmark program, built from the same libraries plus those, is the
# check's counterpart: there the same look must find them.
#   shipped_symbols_test.sh GAME BENCH SUPPORT_LIBRARY...
set -u
. "$(dirname "$0")/assert.sh"
game=$1
bench=$2
shift 2

# Strong definitions (code, data, read-only data) of the given files, demangled.
strong() { nm -C --defined-only "$@" 2>/dev/null | awk '$2 ~ /^[TDBR]$/ { $1 = ""; $2 = ""; sub(/^  /, ""); print }' | sort -u; }

begin "the support libraries' symbols are not in the game"
strong "$@" > support.symbols
[ -s support.symbols ] || fail_check "no symbols read from the support libraries: $*"
strong "$game" > game.symbols
[ -s game.symbols ] || fail_check "no symbols read from $game"
shipped=$(comm -12 support.symbols game.symbols)
[ -z "$shipped" ] || fail_check "the game carries: $shipped"

begin "the benchmark's hooks are not in the game"
for name in 'setFailingStep' 'soundLog' 'clearSoundLog' 'boards::fieldFull' 'processCpuMs'; do
    grep -q "$name" game.symbols && fail_check "the game carries $name"
done
strings "$game" | grep -q 'VORTIQ_BENCH' && fail_check "the game reads VORTIQ_BENCH"

begin "the benchmark program has them (the look can find them)"
strong "$bench" > bench.symbols
grep -q 'boards::fieldFull' bench.symbols || fail_check "boards::fieldFull not found in $bench"
strings "$bench" | grep -q 'VORTIQ_BENCH' || fail_check "VORTIQ_BENCH not found in $bench"
grep -q 'runGame' bench.symbols || fail_check "the benchmark does not run the game's own loop"

finish
