#!/bin/sh
# The real program on the offscreen platform while a display with OpenGL is there (as
# under xvfb-run): it must come up without the 3D view, then close politely on SIGTERM.
# usage: offscreen_display_test.sh RAVLEN  (run under xvfb-run -a)
set -u
ravlen=$1
log=$(mktemp)
trap 'rm -f "$log"' EXIT
QT_QPA_PLATFORM=offscreen RAVLEN_STATE_LOG="$log" RAVLEN_MESSAGE_LOG=- "$ravlen" &
pid=$!
for _ in $(seq 100); do
  grep -q '^ready' "$log" 2>/dev/null && break
  kill -0 "$pid" 2>/dev/null || break
  sleep 0.1
done
if ! grep -q '^ready' "$log"; then
  wait "$pid"
  echo "ravlen never became ready (status $?)" >&2
  exit 1
fi
kill -TERM "$pid"
wait "$pid"
status=$?
[ "$status" -eq 0 ] || { echo "ravlen ended with status $status" >&2; exit 1; }
