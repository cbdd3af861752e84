#!/usr/bin/env bash
# The main job: builds every module in all three builds (native, Windows x64, Windows x86),
# assembles the VST3 bundle in dist/, and renders a short demo through the Linux module and,
# under Wine, through the Windows x64 and x86 modules, whose outputs must be identical.
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=${JOBS:-$(nproc)}
for preset in native-release win64 win32; do
  echo "== $preset =="
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" -j "$jobs"
done

echo "== dist =="
bundle=dist/TarvexQuoxel.vst3
rm -rf "$bundle"
mkdir -p "$bundle/Contents/x86_64-linux" "$bundle/Contents/x86_64-win" "$bundle/Contents/x86-win"
cp build/native-release/modules/TarvexQuoxel.vst3/Contents/*-linux/TarvexQuoxel.so "$bundle/Contents/x86_64-linux/"
cp build/win64/modules/TarvexQuoxel.vst3/Contents/x86_64-win/TarvexQuoxel.vst3 "$bundle/Contents/x86_64-win/"
cp build/win32/modules/TarvexQuoxel.vst3/Contents/x86-win/TarvexQuoxel.vst3 "$bundle/Contents/x86-win/"
find "$bundle" -type f | sort

# Two seconds of generated drums at amount +100%; the host tool prints the input's and the
# output's peak, RMS and crest factor, and the lines below say what changed.
demo_args=(--seconds 2 --set "Quoxel Level=100")
report() {
  awk '
    /^input:/  { ip = $3; ir = $6; ic = $9 }
    /^output:/ { op = $3; or = $6; oc = $9 }
    { print "  " $0 }
    END {
      if (ip != "" && op != "")
        printf "  change: peak %+.2f dB, RMS %+.2f dB, crest factor %+.2f dB\n", op - ip, or - ir, oc - ic
    }'
}

echo "== demo: Linux module =="
build/native-release/tools/vst3host/vst3host "$bundle" "${demo_args[@]}" | report

# The Windows modules render the same demo under Wine, each through the host tool of its own
# build. The x86 module computes exactly what the x64 one does: their files must be equal.
export WINEPREFIX=$(pwd)/build/wineprefix-demo WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
tools/with-display.sh tools/wine-prefix.sh "$WINEPREFIX"
mkdir -p build/demo && rm -f build/demo/x64.wav build/demo/x86.wav
render_under_wine() { # BUILD OUTPUT_FILE
  local host_exe
  host_exe=$(pwd)/build/$1/tools/vst3host/vst3host.exe
  # Wine reaches the bundle by a path relative to the working folder.
  # (The virtual display going away at the end is not worth a message.)
  (cd dist && ../tools/with-display.sh wine "$host_exe" TarvexQuoxel.vst3 "${demo_args[@]}" --out "../build/demo/$2" \
    2> >(grep -v -e "X connection" -e "XIO:" -e "requests (" -e "Authorization required" -e "^$" >&2) | tr -d '\r' | report)
}
echo "== demo: Windows x64 module under Wine =="
render_under_wine win64 x64.wav
echo "== demo: Windows x86 module under Wine =="
render_under_wine win32 x86.wav
wineserver -k 2>/dev/null || true

echo "== x86 = x64 =="
if cmp -s build/demo/x64.wav build/demo/x86.wav; then
  echo "  identical: the x86 module's output equals the x64 module's, sample for sample" \
    "($(stat -c %s build/demo/x86.wav) bytes each)"
else
  echo "  DIFFERENT: the x86 module's output is not the x64 module's:" >&2
  cmp build/demo/x64.wav build/demo/x86.wav >&2 || true
  exit 1
fi
echo "All builds done."
