#!/usr/bin/env bash
# Runs a table-engine script with pvrun in a fresh folder and compares its output with the
# expected output next to it. Usage: run_prg.sh PVRUN SCRIPT.prg
set -euo pipefail
pvrun=$1 script=$2
expected=${script%.prg}.out
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$script" "$work/"
cd "$work"
actual=$("$pvrun" "$(basename "$script")" 2>&1; echo "exit $?")
if ! diff -u "$expected" <(echo "$actual"); then
  echo "output of $(basename "$script") differs" >&2
  exit 1
fi
