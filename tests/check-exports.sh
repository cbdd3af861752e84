#!/usr/bin/env bash
# check-exports.sh TOOL MODULE NAME...: the module exports exactly the given names.
# TOOL is objdump (Windows modules: the export name table) or nm (Linux: dynamic symbols).
set -euo pipefail
tool=$1 module=$2
shift 2
expected=$(printf '%s\n' "$@" | sort)
case "$(basename "$tool")" in
  *objdump*)
    # The name table lists one "[ n] Name" line per export.
    actual=$("$tool" -p "$module" | sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' |
             sed -n 's/^[[:space:]]*\[[[:space:]]*[0-9]*\][[:space:]]*//p' | sort) ;;
  *)
    actual=$("$tool" -D --defined-only "$module" | awk '$2 ~ /^[TDBRVW]$/ { print $3 }' | sort) ;;
esac
if [ "$actual" != "$expected" ]; then
  echo "exports of $module:"
  echo "$actual"
  echo "expected:"
  echo "$expected"
  exit 1
fi
echo "exports of $(basename "$module"): $(echo $actual)"
