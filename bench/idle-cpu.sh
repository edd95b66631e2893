#!/usr/bin/env bash
# Idle CPU of the running program, read from the Linux side: Wine does not report the times
# of another process to a Windows program. Usage: idle-cpu.sh RIGDIR QM27K.exe [seconds]
set -euo pipefail
RIG=$1
EXE=$2
SECONDS_IDLE=${3:-10}
RUNNER=$(dirname "$0")/../tests/rig/wine-run

eval "$("$RUNNER" "$RIG" --env | grep '^export WINEPREFIX=')"
"$RUNNER" "$RIG" "$EXE" &
runner=$!
trap 'kill $runner 2>/dev/null || true' EXIT
# Only the program of this rig's prefix: other rigs on the machine may run one too.
ours() {
    while read -r p; do
        [[ $(cat "/proc/$p/comm" 2>/dev/null) != wine-run ]] || continue
        { tr '\0' '\n' <"/proc/$p/environ"; } 2>/dev/null | grep -qxF "WINEPREFIX=$WINEPREFIX" && echo "$p"
    done
}
pid=""
for _ in $(seq 1 100); do
    pid=$(pgrep -f 'QM27K.exe' | ours | head -n 1 || true)
    [[ -n $pid ]] && break
    sleep 0.1
done
[[ -n $pid ]] || { echo "idle-cpu: the program did not start" >&2; exit 1; }
sleep 3 # past start-up
ticks() { awk '{print $14 + $15}' "/proc/$1/stat"; }
hz=$(getconf CLK_TCK)
before=$(ticks "$pid")
sleep "$SECONDS_IDLE"
after=$(ticks "$pid")
awk -v d=$((after - before)) -v hz="$hz" -v s="$SECONDS_IDLE" \
    'BEGIN { printf "idle CPU of the program over %d s: %.2f s (%.2f %% of one core)\n", s, d / hz, 100 * d / hz / s }'
