#!/usr/bin/env bash
# Runs the libFuzzer programs of a fuzz build: run-fuzzers.sh BUILD_DIR SECONDS
# [JOBS [READER...]]. Each reader's working corpus, in BUILD_DIR/fuzz-corpus/,
# starts from the stored inputs and the generated game data of its kind;
# findings go to BUILD_DIR/fuzz-findings/<reader>/, logs to BUILD_DIR/fuzz-<reader>.log.
# Fails when any program reports a finding.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
build="$(cd "$1" && pwd)"
seconds="$2"
jobs="${3:-2}"
shift $(( $# < 3 ? $# : 3 ))
readers=("$@")
[ ${#readers[@]} -gt 0 ] || readers=(bitmap mesh highscores savedgame settings replays)

base="$build/game/base"
for reader in "${readers[@]}"; do
  corpus="$build/fuzz-corpus/$reader"
  mkdir -p "$corpus" "$build/fuzz-findings/$reader"
  cp -n "$here/corpus/$reader"/* "$corpus"/
  case "$reader" in
    bitmap) find "$base" -maxdepth 1 -name '*.bmp' -size -64k -exec cp -n {} "$corpus"/ \; ;;
    mesh) cp -n "$base"/s*.raw "$corpus"/ 2>/dev/null || true ;;
    highscores) cp -n "$base/hiscores" "$corpus"/ 2>/dev/null || true ;;
    settings) cp -n "$base/menu.inf" "$corpus"/ 2>/dev/null || true ;;
  esac
done

run_one() {
  local reader="$1" build="$2" seconds="$3" maxlen=4096
  case "$reader" in bitmap) maxlen=65536 ;; mesh) maxlen=8192 ;; esac
  local log="$build/fuzz-$reader.log"
  if "$build/tests/fuzz/fuzz_$reader" -max_total_time="$seconds" -max_len="$maxlen" -timeout=20 \
       -rss_limit_mb=2560 -close_fd_mask=3 -print_final_stats=1 \
       -artifact_prefix="$build/fuzz-findings/$reader/" "$build/fuzz-corpus/$reader" >"$log" 2>&1; then
    local runs cov
    runs=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$log" | grep -o '[0-9]*$' || true)
    cov=$(grep -E '^#[0-9]+.*(DONE|pulse|NEW|REDUCE)' "$log" | tail -1 | grep -oE 'cov: [0-9]+ ft: [0-9]+' || true)
    echo "fuzz_$reader: no finding in ${seconds}s, $runs runs, $cov"
  else
    echo "fuzz_$reader: FINDING, see $log and $build/fuzz-findings/$reader/"
    return 1
  fi
}
export -f run_one
printf '%s\n' "${readers[@]}" | xargs -P "$jobs" -I{} bash -c 'run_one "$@"' _ {} "$build" "$seconds"
