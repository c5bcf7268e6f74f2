#!/usr/bin/env bash
# Runs the libFuzzer harnesses built by the fuzz preset (make fuzz), each for a fixed
# time on its seed corpus, several at once, and prints one line per harness: executions,
# executions per second, corpus growth and the outcome. Exits 1 when any harness found a
# crash, a leak, a timeout or an out-of-memory input (its input is kept under
# build/fuzz/artifacts/<name>/ and its log under build/fuzz/logs/).
#
# With -s, every harness starts from that random seed and an empty working corpus, so a
# run mostly repeats the inputs of an earlier run with the same seed (as many as the
# time allows; a harness whose coverage varies from run to run, through caches or the
# clock, drifts apart): CI uses it to check much the same sample each time rather than
# explore anew. Exploring is for runs without -s, which keep their corpus.
#
#   scripts/fuzz.sh                 # every harness, 20 seconds each
#   scripts/fuzz.sh -t 600 json url # two harnesses, ten minutes each
#   scripts/fuzz.sh -t 20 -s 1      # the sample CI checks
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=20
seed=0
jobs=$(( $(nproc) / 2 > 0 ? $(nproc) / 2 : 1 ))
while getopts "t:j:s:" option; do
  case $option in
    t) seconds=$OPTARG ;;
    j) jobs=$OPTARG ;;
    s) seed=$OPTARG ;;
    *) echo "usage: $0 [-t seconds] [-j parallel jobs] [-s seed] [harness ...]" >&2; exit 2 ;;
  esac
done
shift $((OPTIND - 1))

bin=build/fuzz
if [ $# -gt 0 ]; then
  names=("$@")
else
  names=()
  for f in tests/fuzz/*_fuzz.cpp; do
    n=$(basename "$f" _fuzz.cpp)
    names+=("$n")
  done
fi
for n in "${names[@]}"; do
  [ -x "$bin/fuzz_$n" ] || { echo "fuzz: $bin/fuzz_$n is not built (make fuzz)" >&2; exit 2; }
done

mkdir -p "$bin/logs"

run_one() {
  local n=$1 seconds=$2 bin=$3 seed=$4
  local work="$bin/corpus/$n" artifacts="$bin/artifacts/$n/" log="$bin/logs/$n.log"
  if [ "$seed" -ne 0 ]; then
    work="$bin/corpus-seed-$seed/$n"
    rm -rf "$work"
  fi
  mkdir -p "$work" "$artifacts"
  local extra=()
  [ -f "tests/fuzz/$n.dict" ] && extra+=("-dict=tests/fuzz/$n.dict")
  local status=0
  # stdout is closed: several operations print status lines on every call.
  ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1 \
    "$bin/fuzz_$n" -seed="$seed" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
    -close_fd_mask=1 -print_final_stats=1 -artifact_prefix="$artifacts" "${extra[@]}" \
    "$work" "tests/fuzz/corpus/$n" >"$log" 2>&1 || status=$?
  local runs speed added
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  speed=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log" | tail -1)
  added=$(sed -n 's/^stat::new_units_added: *//p' "$log" | tail -1)
  if [ "$status" -eq 0 ]; then
    outcome=ok
  else
    outcome="FAILED ($(grep -m1 -o -E 'ERROR: [A-Za-z]+: [a-z-]+|invariant failed: [^(]*|Test unit written to [^ ]*|==[0-9]+== ?ERROR: libFuzzer: [a-z-]+' "$log" | head -1))"
  fi
  printf '%-24s runs %10s  exec/s %7s  new %5s  %s\n' "$n" "${runs:-?}" "${speed:-?}" "${added:-?}" "$outcome"
  [ "$status" -eq 0 ]
}
export -f run_one

printf '%s\n' "${names[@]}" | xargs -P "$jobs" -I{} bash -c 'run_one "$@"' _ {} "$seconds" "$bin" "$seed"
