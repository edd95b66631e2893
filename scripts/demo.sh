#!/usr/bin/env bash
# Starts the program under Wine with the rig's virtual COM ports. With a display the window
# stays until closed; without one it runs on the rig's Xvfb, is photographed to
# build/demo.png, and closed again.
set -euo pipefail
WIN=${1:-build/win}
RIG=$WIN/rig
EXE=$WIN/app/QM27K.exe
RUNNER=tests/rig/wine-run

"$RUNNER" "$RIG" --prepare
if [[ -n ${DISPLAY:-} ]] && xdpyinfo >/dev/null 2>&1; then
    echo "demo: the window opens on $DISPLAY; close it to end the demo"
    exec "$RUNNER" "$RIG" "$EXE"
fi

eval "$("$RUNNER" "$RIG" --env)"
"$RUNNER" "$RIG" "$EXE" &
app=$!
trap 'kill $app 2>/dev/null || true' EXIT

window=""
for _ in $(seq 1 60); do
    window=$(xdotool search --onlyvisible --name 'QM27K' 2>/dev/null | head -n 1 || true)
    [[ -n $window ]] && break
    kill -0 $app 2>/dev/null || { echo "demo: the program ended before its window appeared" >&2; exit 1; }
    sleep 0.5
done
[[ -n $window ]] || { echo "demo: no window after 30 s" >&2; exit 1; }
sleep 2 # let the first paint settle
import -window root "build/demo.png"
echo "demo: screenshot written to build/demo.png"
