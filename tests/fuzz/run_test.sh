#!/usr/bin/env bash
# run.sh as the README uses it, a build folder given relative to where it is started, over
# stand-in fuzzers: each refuses to run unless every folder it is given exists from where it
# was started, and the one named by CRASH exits as libFuzzer does after a finding.
set -uo pipefail
script=$(cd "$(dirname "$0")" && pwd)/run.sh
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"

mkdir -p empty build/tests/fuzz
for name in png vst3_state; do
  cat > "build/tests/fuzz/fuzz_$name" <<'EOF'
#!/usr/bin/env bash
for arg in "$@"; do
  case $arg in -*) ;; *) [ -d "$arg" ] || exit 3 ;; esac
done
[ "$(basename "$0")" = "fuzz_${CRASH:-}" ] && exit 77
exit 0
EOF
  chmod +x "build/tests/fuzz/fuzz_$name"
done

failures=0
expect() {
  local want=$1 what=$2
  shift 2
  "$@" > log 2>&1
  local got=$?
  if [ "$got" != "$want" ]; then
    echo "FAIL: $what: exit $got, expected $want"
    cat log
    failures=$((failures + 1))
  fi
}

expect 0 "nothing found" "$script" build 1
grep -q "png: nothing found" log || { echo "FAIL: no line for png"; failures=$((failures + 1)); }
expect 1 "a finding" env CRASH=vst3_state "$script" build 1 runs
grep -q "vst3_state: FOUND A FAULT" log || { echo "FAIL: the finding is not named"; failures=$((failures + 1)); }
[ -d runs/vst3_state/findings ] || { echo "FAIL: no findings folder"; failures=$((failures + 1)); }
expect 2 "no fuzzers built" "$script" empty 1
expect 2 "no build folder" "$script" missing 1
exit $((failures > 0))
