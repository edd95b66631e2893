#!/usr/bin/env bash
# Starts the program under Wine with the rig's virtual COM ports and a simulated sensor behind
# the first of them, so that Connect then Read shows a reading. With a display the window
# stays until closed; without one the demo connects and reads by itself, photographs the
# window to build/demo.png, prints the reading and closes everything again.
#   demo.sh [WINBUILD]   (default build/win; needs QM27K, qm27k-sim-host and DemoDriver built)
set -euo pipefail
WIN=${1:-build/win}
RIG=$WIN/rig
EXE=$WIN/app/QM27K.exe
SIM=$WIN/host/qm27k-sim
DRIVER=$WIN/tests/win/DemoDriver.exe
RUNNER=tests/rig/wine-run
SHOT=build/demo.png

for f in "$EXE" "$SIM" "$DRIVER"; do
    [[ -x $f ]] || { echo "demo: $f is missing (make demo builds it)" >&2; exit 1; }
done
use_display=0
if [[ -n ${DISPLAY:-} ]] && xdpyinfo >/dev/null 2>&1; then
    use_display=1
fi

"$RUNNER" "$RIG" --prepare >/dev/null
eval "$("$RUNNER" "$RIG" --env)"
read -ra pairs <<<"$QM27K_PORT_PAIRS"
port=${pairs[0]%:*} device=${pairs[0]#*:}
tty_var=QM27K_TTY_$device

sim=
app=
cleanup() {
    set +e
    [[ -n $app ]] && kill -0 "$app" 2>/dev/null && "$RUNNER" "$RIG" "$DRIVER" close
    [[ -n $app ]] && wait "$app" 2>/dev/null
    [[ -n $sim ]] && kill -TERM "$sim" 2>/dev/null && wait "$sim" 2>/dev/null
    "$RUNNER" "$RIG" --stop >/dev/null
}
trap cleanup EXIT

mkdir -p build
"$SIM" "${!tty_var}" --temperature 25.3 --humidity 45.6 --drift 0.1 --verbose 2>build/demo-sim.log &
sim=$!
echo "demo: simulated sensor at address 1, 9600 baud, behind $port"

if [[ $use_display == 1 ]]; then
    echo "demo: the window opens on $DISPLAY; choose $port, click 连接 (Connect) and 读取 (Read); close it to end"
    "$RUNNER" "$RIG" "$EXE" || true
    exit 0
fi

"$RUNNER" "$RIG" "$EXE" &
app=$!
"$RUNNER" "$RIG" "$DRIVER" read "$port"
sleep 1 # let the window paint what it now shows
import -window root "$SHOT"
echo "demo: screenshot written to $SHOT"
