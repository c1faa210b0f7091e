#!/usr/bin/env bash
# Instructions per EvaluateDoor under callgrind: the difference between runs of 2000 and
# 1000 evaluations, divided by 1000, so that start-up and model building cancel out.
# Repeatable for the same binary, whatever else the machine is doing.
set -euo pipefail
program=$1
count() {
  valgrind --tool=callgrind --callgrind-out-file=/dev/null "$program" "$1" 2>&1 |
    sed -n 's/.*I *refs: *\([0-9,]*\).*/\1/p' | tr -d ,
}
small=$(count 1000)
large=$(count 2000)
echo "EvaluateDoor: $(( (large - small) / 1000 )) instructions per evaluation (callgrind)"
