#!/usr/bin/env bash
# Configures and builds the sanitizer build: clang with AddressSanitizer and
# UBSan, and libFuzzer's coverage hooks, so that one build serves both the
# whole test suite under the sanitizers and the fuzz targets.
#   tools/sanitized_build.sh [TARGET ...]     (default: everything)
# The folder is $DENKAR_SANITIZE_BUILD_DIR (default: build-sanitize/).
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${DENKAR_SANITIZE_BUILD_DIR:-$here/build-sanitize}"

launcher=()
if command -v ccache > /dev/null; then
  launcher=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
# -O1 with line tables: sanitizer reports keep file and line, and the build
# and the instrumented run both stay quick.
CC=clang CXX=clang++ cmake -S "$here" -B "$build" -DDENKAR_FUZZ=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_C_FLAGS_RELWITHDEBINFO="-O1 -gline-tables-only -DNDEBUG" \
  -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -gline-tables-only -DNDEBUG" \
  "${launcher[@]}" > /dev/null

targets=()
for t in "$@"; do targets+=(--target "$t"); done
cmake --build "$build" -j "$(nproc)" "${targets[@]}"
