#!/usr/bin/env bash
# Preprocessing and compiling a generated 10,000-line module full of table commands (and a
# user-defined command and translation) with pvc; prints the CPU seconds of the preprocessor
# alone (-P) and of the whole compilation to C++, against the 0.5 s target.
set -euo pipefail
build=${1:-build-release}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cpu() {  # CPU seconds of a command, its output discarded
  local t
  t=$( { /usr/bin/time -f "%U %S" "$@" > /dev/null; } 2>&1 | tail -1 )
  awk '{ printf "%.3f", $1 + $2 }' <<< "$t"
}
{
  echo '#command BUMP <f> BY <n> [FOR <c>] => REPLACE ALL <f> WITH <f> + <n> FOR <c>'
  echo '#translate HALF(<x>) => ((<x>) / 2)'
  for ((p = 0; p < 250; ++p)); do
    echo "PROCEDURE Proc$p()"
    echo "   LOCAL nSum, nCount, nAvg, a, b"
    for ((i = 0; i < 7; ++i)); do
      echo "   USE people$i NEW SHARED ALIAS p$i"
      echo "   SUM AGE, SALARY TO nSum, nAvg FOR CITY = \"Berlin\" .AND. AGE > $i"
      echo "   COUNT TO nCount WHILE AGE < HALF($i + 100) NEXT 10"
      echo "   REPLACE ALL SALARY WITH SALARY * 1.01 FOR ACTIVE"
      echo "   LOCATE FOR NAME = \"Anna\" REST"
    done
    echo "   BUMP AGE BY 1 FOR CITY = \"Hamburg\""
    echo "   STORE 0 TO a, b"
    echo "   RETURN"
    echo
  done
} > "$work/commands.prg"
lines=$(wc -l < "$work/commands.prg")
pp=$(cpu "$build/bin/pvc" -P "$work/commands.prg")
all=$(cpu "$build/bin/pvc" -o "$work/commands.cc" "$work/commands.prg")
printf "%-28s %8s lines\n" "module" "$lines"
printf "%-28s %8s s\n" "preprocessing (pvc -P)" "$pp"
printf "%-28s %8s s  (ratio to the 0.5 s target: %s)\n" "preprocessing + compiling" "$all" \
  "$(awk -v a="$all" 'BEGIN { printf "%.2f", a / 0.5 }')"
