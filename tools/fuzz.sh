#!/usr/bin/env bash
# Builds the fuzz targets (clang, libFuzzer, ASan, UBSan; in the sanitizer
# build folder) and runs each for a while on its seed corpus, as many at a time
# as there are cores. Any crash, leak, sanitizer report or failed check fails
# the run with a non-zero exit code; the input that caused it is kept in the
# build folder's findings/.
#   tools/fuzz.sh [SECONDS_PER_TARGET] [TARGET ...]     (default 30 s, all targets)
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
seconds="${1:-30}"
[ $# -gt 0 ] && shift
build="${DENKAR_SANITIZE_BUILD_DIR:-$here/build-sanitize}"
export DENKAR_SANITIZE_BUILD_DIR="$build"

"$here/tools/sanitized_build.sh" denkar_fuzz_targets

targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  for f in "$here"/tests/fuzz/fuzz_*.cpp; do
    name="$(basename "$f" .cpp)"
    [ "$name" = fuzz_support ] || targets+=("${name#fuzz_}")
  done
fi

# run_target NAME: one target for the chosen time; its log in findings/NAME.
run_target() {
  local t="$1"
  local corpus="$build/corpus/$t" findings="$build/findings/$t"
  mkdir -p "$corpus" "$findings"
  if ! (cd "$findings" && "$build/fuzz_$t" -max_total_time="$seconds" -max_len=65536 \
        -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 "$corpus" "$here/tests/fuzz/corpus/$t" \
        > "$findings/log.txt" 2>&1); then
    echo "fuzz_$t FOUND A PROBLEM; its log: $findings/log.txt" >&2
    tail -40 "$findings/log.txt" >&2
    return 1
  fi
  echo "fuzz_$t: $(grep -E 'stat::number_of_executed_units' "$findings/log.txt" || echo 'no statistics')"
}

# As many targets at a time as there are cores; each runs on one core.
parallel="$(nproc)"
status=0
running=0
for t in "${targets[@]}"; do
  echo "== fuzz_$t for ${seconds}s"
  run_target "$t" &
  running=$((running + 1))
  if [ "$running" -ge "$parallel" ]; then
    wait -n || status=1
    running=$((running - 1))
  fi
done
while [ "$running" -gt 0 ]; do
  wait -n || status=1
  running=$((running - 1))
done
exit $status
