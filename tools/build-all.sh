#!/usr/bin/env bash
# The main job: builds every module in all three builds (native, Windows x64, Windows x86),
# assembles the VST3 bundle in dist/, draws the editor into dist/editor.png, and renders a
# short demo through the Linux module and, under Wine, through the Windows x64 module.
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

echo "== editor picture =="
build/native-release/tools/editorshot/editorshot --out dist/editor.png --set "Quoxel Level=40" \
  --meter in0=-9 --meter in1=-11 --meter out0=-7 --meter out1=-9 --meter gain0=2.5 --meter gain1=2
echo "  dist/editor.png"

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

echo "== demo: Windows x64 module under Wine =="
host_exe=$(pwd)/build/win64/tools/vst3host/vst3host.exe
export WINEPREFIX=$(pwd)/build/wineprefix-demo WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  mkdir -p "$WINEPREFIX"
  tools/with-display.sh bash -c 'wineboot --init >/dev/null 2>&1; wineserver -w' || true
fi
# Wine reaches the bundle by a path relative to the working folder.
# (The virtual display going away at the end is not worth a message.)
(cd dist && ../tools/with-display.sh wine "$host_exe" TarvexQuoxel.vst3 "${demo_args[@]}" \
  2> >(grep -v -e "X connection" -e "XIO:" -e "requests (" -e "Authorization required" -e "^$" >&2) | tr -d '\r' | report)
wineserver -k 2>/dev/null || true
echo "All builds done."
