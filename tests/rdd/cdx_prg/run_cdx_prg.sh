#!/usr/bin/env bash
# Runs an index script with pvrun in a fresh folder holding copies of the sample tables and the
# foreign tables, and compares its output with the expected output next to it.
# Usage: run_cdx_prg.sh PVRUN SCRIPT.prg SAMPLES_DIR FOREIGN_DIR
set -euo pipefail
pvrun=$1 script=$2 samples=$3 foreign=$4
expected=${script%.prg}.out
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$script" "$samples"/PRODUCT.DBF "$samples"/PRODUCT1.DBF "$work/"
cp -r "$foreign" "$work/foreign"
chmod -R u+w "$work"
cd "$work"
actual=$("$pvrun" "$(basename "$script")" 2>&1; echo "exit $?")
if ! diff -u "$expected" <(echo "$actual"); then
  echo "output of $(basename "$script") differs" >&2
  exit 1
fi
