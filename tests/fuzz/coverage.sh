#!/usr/bin/env bash
# Line coverage of a fuzzer's corpus, from a build configured like the fuzz build plus
#   -DCMAKE_CXX_FLAGS="-fprofile-instr-generate -fcoverage-mapping"
#   -DCMAKE_EXE_LINKER_FLAGS=-fprofile-instr-generate
#   tests/fuzz/coverage.sh build/fuzzcov png corpus-dir [source files...]
set -euo pipefail
build=${1:?coverage build}; name=${2:?fuzzer}; corpus=${3:?corpus}; shift 3
bin=$build/tests/fuzz/fuzz_$name
work=$(mktemp -d)
LLVM_PROFILE_FILE="$work/%p.profraw" "$bin" -runs=0 "$corpus" > "$work/run.log" 2>&1
llvm-profdata-14 merge -sparse "$work"/*.profraw -o "$work/merged.profdata"
llvm-cov-14 report "$bin" -instr-profile="$work/merged.profdata" "$@"
rm -rf "$work"
