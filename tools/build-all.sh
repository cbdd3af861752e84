#!/usr/bin/env bash
# The main job: builds every module in all three builds (native, Windows x64, Windows x86),
# assembles the VST3 bundle, the VST2 modules and the AAX module in dist/, draws the editor
# into dist/editor.png, saves pictures of the Windows x64 modules' editor windows under Wine
# (dist/editor-x64.png, dist/editor-vst2-x64.png, dist/editor-aax-x64.png), renders a short
# demo through the Linux modules and, under Wine, through the Windows x64 and x86 modules, and
# shows that every module of a platform gives the same output, and the x86 modules the x64
# ones', sample for sample.
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
mkdir -p dist/vst2/x86-win dist/vst2/x86_64-win dist/vst2/x86_64-linux
cp build/win32/modules/vst2/TarvexQuoxel.dll dist/vst2/x86-win/
cp build/win64/modules/vst2/TarvexQuoxel.dll dist/vst2/x86_64-win/
cp build/native-release/modules/vst2/TarvexQuoxel.so dist/vst2/x86_64-linux/
# The AAX module is delivered for Windows x86 only, in the bundle layout AAX hosts expect.
aax=dist/TarvexQuoxel.aaxplugin
rm -rf "$aax"
mkdir -p "$aax/Contents/Win32"
cp build/win32/modules/TarvexQuoxel.aaxplugin/Contents/Win32/TarvexQuoxel.aaxplugin "$aax/Contents/Win32/"
find "$bundle" dist/vst2 "$aax" -type f | sort

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

# Every render ends with a digest of all its output samples. Within one platform the VST2 and
# AAX modules must give exactly the VST3 module's output.
digest_of() { awk '/^output digest:/ { print $3 }' "$1"; }
require_equal() {
  local a b
  a=$(digest_of "$out_dir/$1.txt") b=$(digest_of "$out_dir/$2.txt")
  if [ -z "$a" ] || [ "$a" != "$b" ]; then
    echo "$1 and $2 differ (digests '$a' and '$b')" >&2
    exit 1
  fi
  echo "== $1 and $2: equal sample for sample (digest $a) =="
}
out_dir=build/demo
mkdir -p "$out_dir"

echo "== demo: Linux VST3 module =="
build/native-release/tools/plughost/plughost "$bundle" "${demo_args[@]}" | tee "$out_dir/linux-vst3.txt" | report
echo "== demo: Linux VST2 module =="
build/native-release/tools/plughost/plughost dist/vst2/x86_64-linux/TarvexQuoxel.so "${demo_args[@]}" |
  tee "$out_dir/linux-vst2.txt" | report
require_equal linux-vst3 linux-vst2
echo "== demo: Linux AAX module =="
build/native-release/tools/plughost/plughost build/native-release/modules/TarvexQuoxel.aaxplugin "${demo_args[@]}" |
  tee "$out_dir/linux-aax.txt" | report
require_equal linux-vst3 linux-aax

# The Windows modules render under Wine, each through the host tool of its own build.
export WINEPREFIX=$(pwd)/build/wineprefix-demo WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winedbg.exe=d"
tools/with-display.sh tools/wine-prefix.sh "$WINEPREFIX"
# Wine reaches the bundle by a path relative to the working folder.
# (The virtual display going away at the end is not worth a message.)
wine_demo() {
  local build=$1 dir=$2 module=$3 name=$4
  local host_exe=$PWD/build/$build/tools/plughost/plughost.exe
  (cd "$dir" && "$OLDPWD/tools/with-display.sh" wine "$host_exe" "$module" "${demo_args[@]}" \
    2> >(grep -v -e "X connection" -e "XIO:" -e "requests (" -e "Authorization required" -e "^$" >&2) |
    tr -d '\r' | tee "$OLDPWD/$out_dir/$name.txt" | report)
}
echo "== demo: Windows x64 modules under Wine =="
echo "-- VST3 --"
wine_demo win64 dist TarvexQuoxel.vst3 win64-vst3
echo "-- VST2 --"
wine_demo win64 dist/vst2/x86_64-win TarvexQuoxel.dll win64-vst2
echo "-- AAX (the x64 build, for checks) --"
wine_demo win64 build/win64/modules TarvexQuoxel.aaxplugin win64-aax
require_equal win64-vst3 win64-vst2
require_equal win64-vst3 win64-aax

# The Windows x64 modules' editors, opened by the host tool as a host opens them (a window
# of its own, the editor attached inside), one knob dragged, and what the window shows saved.
echo "== editor pictures: Windows x64 modules under Wine =="
editor_shot() {
  local dir=$1 module=$2 picture=$3
  (cd "$dir" && "$OLDPWD/tools/with-display.sh" wine "$OLDPWD/build/win64/tools/plughost/plughost.exe" "$module" \
    --set "Quoxel Level=40" --pointer drag:242,310,242,280 --editor-picture "$picture" \
    2> >(grep -v -e "X connection" -e "XIO:" -e "requests (" -e "Authorization required" -e "^$" >&2) |
    tr -d '\r')
}
editor_shot dist TarvexQuoxel.vst3 editor-x64.png
editor_shot dist/vst2/x86_64-win TarvexQuoxel.dll ../../editor-vst2-x64.png
editor_shot build/win64/modules TarvexQuoxel.aaxplugin ../../../dist/editor-aax-x64.png
echo "  dist/editor-x64.png (VST3), dist/editor-vst2-x64.png (VST2), dist/editor-aax-x64.png (AAX)"

# The x86 modules compute exactly what the x64 ones do.
echo "== demo: Windows x86 modules under Wine =="
echo "-- VST3 --"
wine_demo win32 dist TarvexQuoxel.vst3 win32-vst3
echo "-- VST2 --"
wine_demo win32 dist/vst2/x86-win TarvexQuoxel.dll win32-vst2
echo "-- AAX --"
wine_demo win32 dist TarvexQuoxel.aaxplugin win32-aax
wineserver -k 2>/dev/null || true
require_equal win32-vst3 win32-vst2
require_equal win32-vst3 win32-aax
require_equal win64-vst3 win32-vst3
echo "== identical: the x86 modules give exactly the x64 modules' output =="
echo "All builds done."
