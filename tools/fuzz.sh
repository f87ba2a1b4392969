#!/usr/bin/env bash
# Builds the fuzz targets (clang, libFuzzer, ASan, UBSan) and runs each for a
# while on its seed corpus. Any crash, leak, sanitizer report or failed check
# stops the run with a non-zero exit code; the input that caused it is kept
# in the fuzz build folder.
#   tools/fuzz.sh [SECONDS_PER_TARGET] [TARGET ...]     (default 30 s, all targets)
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
seconds="${1:-30}"
[ $# -gt 0 ] && shift
build="${DENKAR_FUZZ_BUILD_DIR:-$here/build-fuzz}"

CC=clang CXX=clang++ cmake -S "$here" -B "$build" -DDENKAR_FUZZ=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j "$(nproc)"

targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  for f in "$here"/tests/fuzz/fuzz_*.cpp; do
    name="$(basename "$f" .cpp)"
    [ "$name" = fuzz_support ] || targets+=("${name#fuzz_}")
  done
fi

status=0
for t in "${targets[@]}"; do
  corpus="$build/corpus/$t"
  mkdir -p "$corpus" "$build/findings/$t"
  echo "== fuzz_$t for ${seconds}s"
  if ! (cd "$build/findings/$t" && "$build/fuzz_$t" -max_total_time="$seconds" -max_len=65536 \
        -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 "$corpus" "$here/tests/fuzz/corpus/$t" \
        > "$build/findings/$t/log.txt" 2>&1); then
    echo "fuzz_$t FOUND A PROBLEM; its log: $build/findings/$t/log.txt" >&2
    tail -40 "$build/findings/$t/log.txt" >&2
    status=1
  else
    grep -E 'stat::number_of_executed_units' "$build/findings/$t/log.txt" || true
  fi
done
exit $status
