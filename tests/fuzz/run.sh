#!/usr/bin/env bash
# Runs every fuzzer of a fuzz build for the given seconds, two workers each, starting from its
# committed inputs (corpus/<name>/), with what it finds under the output folder. Inputs worth
# keeping go back into corpus/<name>/ (merge with -merge=1 to keep it small); an input that
# found a fault is committed with its fix as corpus/<name>/finding-<what>.
#   tests/fuzz/run.sh build/fuzz 600 [out-dir]
set -euo pipefail
build=${1:?build folder}
seconds=${2:-600}
out=${3:-$build/fuzz-runs}
here=$(cd "$(dirname "$0")" && pwd)
mkdir -p "$out"
pids=()
for dir in "$here"/corpus/*/; do
  f=$(basename "$dir")
  bin=$build/tests/fuzz/fuzz_$f
  [ -x "$bin" ] || continue
  mkdir -p "$out/$f/corpus" "$out/$f/findings"
  (cd "$out/$f" && "$bin" -max_total_time="$seconds" -jobs=2 -workers=2 -timeout=10 -rss_limit_mb=2048 \
     -artifact_prefix=findings/ corpus "$dir" > run.log 2>&1) &
  pids+=($!)
done
status=0
for p in "${pids[@]}"; do wait "$p" || status=1; done
exit $status
