#!/usr/bin/env bash
# Runs every fuzzer of a fuzz build for the given seconds, two workers each, starting from its
# committed inputs (corpus/<name>/), with what it finds under the output folder. Inputs worth
# keeping go back into corpus/<name>/ (merge with -merge=1 to keep it small); an input that
# found a fault is committed with its fix as corpus/<name>/finding-<what>.
#   tests/fuzz/run.sh build/fuzz 600 [out-dir]
# Exit status: 0 when every fuzzer ran and found nothing, 1 when one found a fault (crash,
# leak, timeout or memory limit: see its findings/ and run.log), 2 when there was nothing to run.
set -euo pipefail
[ -d "${1:?build folder}" ] || { echo "run.sh: no build folder $1" >&2; exit 2; }
# Each fuzzer runs inside its own output folder, so every path it is given must be absolute.
build=$(cd "$1" && pwd)
seconds=${2:-600}
out=${3:-$build/fuzz-runs}
mkdir -p "$out"
out=$(cd "$out" && pwd)
here=$(cd "$(dirname "$0")" && pwd)

names=()
pids=()
for dir in "$here"/corpus/*/; do
  f=$(basename "$dir")
  bin=$build/tests/fuzz/fuzz_$f
  [ -x "$bin" ] || continue
  mkdir -p "$out/$f/corpus" "$out/$f/findings"
  (cd "$out/$f" && "$bin" -max_total_time="$seconds" -jobs=2 -workers=2 -timeout=10 -rss_limit_mb=2048 \
     -artifact_prefix=findings/ corpus "$dir" > run.log 2>&1) &
  names+=("$f")
  pids+=($!)
done
if [ ${#pids[@]} -eq 0 ]; then
  echo "run.sh: no fuzzers in $build/tests/fuzz (build the tq_fuzzers target first)" >&2
  exit 2
fi

status=0
for i in "${!pids[@]}"; do
  f=${names[$i]}
  if wait "${pids[$i]}"; then
    echo "$f: nothing found"
  else
    echo "$f: FOUND A FAULT: inputs in $out/$f/findings/, logs in $out/$f/"
    status=1
  fi
done
exit $status
