#!/usr/bin/env bash
# Runs every fuzzer of a fuzz build for the given seconds, two workers each, with corpora
# and findings under the output folder. Seeds come from make_seeds.py.
#   tests/fuzz/run.sh build/fuzz 600 [out-dir]
set -euo pipefail
build=${1:?build folder}
seconds=${2:-600}
out=${3:-$build/fuzz-runs}
here=$(cd "$(dirname "$0")" && pwd)
mkdir -p "$out"
python3 "$here/make_seeds.py" "$out/seeds"
pids=()
for f in png plug_state vst3_state vst3_process vst2_chunk cached_font aax_chunk; do
  bin=$build/tests/fuzz/fuzz_$f
  [ -x "$bin" ] || continue
  mkdir -p "$out/$f/corpus" "$out/$f/findings"
  (cd "$out/$f" && "$bin" -max_total_time="$seconds" -jobs=2 -workers=2 -timeout=10 -rss_limit_mb=2048 \
     -artifact_prefix=findings/ corpus "$out/seeds/$f" > run.log 2>&1) &
  pids+=($!)
done
status=0
for p in "${pids[@]}"; do wait "$p" || status=1; done
exit $status
