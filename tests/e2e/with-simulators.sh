#!/usr/bin/env bash
# Starts a simulator behind the far end of the rig's lines, in the order of QM27K_PORT_PAIRS,
# runs a Windows program under the rig while they serve, and stops them again.
#   with-simulators.sh RIGDIR SIMULATOR WORKDIR e2e|bench PROGRAM.exe [ARGS...]
# e2e: the four lines of the end-to-end tests (E2eLines.h); bench: one plain sensor.
# Each simulator logs its frames to WORKDIR/sim-COMn.log and keeps its counts in
# WORKDIR/sim-COMn.txt, which the program finds through QM27K_E2E_STATS_DIR.
set -uo pipefail
[[ $# -ge 5 ]] || { echo "usage: $0 RIGDIR SIMULATOR WORKDIR e2e|bench PROGRAM.exe [ARGS...]" >&2; exit 2; }
RIG=$1 SIM=$2 WORK=$3 SET=$4
shift 4
RUNNER=$(cd "$(dirname "$0")/../rig" && pwd)/wine-run

mkdir -p "$WORK" || exit 1
WORK=$(cd "$WORK" && pwd -P)
env_lines=$("$RUNNER" "$RIG" --env) || { echo "with-simulators: the rig did not come up" >&2; exit 1; }
eval "$env_lines"

case $SET in
e2e) # what each line's sensor does; keep in step with E2eLines.h
    LINE_OPTIONS=(
        "--address 5"
        "--drop-every 3 --split-every 4 --noise-every 5 --corrupt-every 7 --delay 150 --delay-every 6 --silent-after 12"
        ""
        "--sensors 3"
    ) ;;
bench) LINE_OPTIONS=("") ;;
*) echo "with-simulators: unknown line set $SET" >&2; exit 2 ;;
esac

pids=()
stop_simulators() {
    local pid
    for pid in "${pids[@]}"; do kill -TERM "$pid" 2>/dev/null; done
    for pid in "${pids[@]}"; do wait "$pid" 2>/dev/null; done
}
trap stop_simulators EXIT

read -ra pairs <<<"$QM27K_PORT_PAIRS"
[[ ${#pairs[@]} -ge ${#LINE_OPTIONS[@]} ]] || { echo "with-simulators: the rig has only ${#pairs[@]} lines" >&2; exit 1; }
for i in "${!LINE_OPTIONS[@]}"; do
    device=${pairs[$i]#*:}
    tty_var=QM27K_TTY_$device
    stats=$WORK/sim-$device.txt
    rm -f "$stats"
    # shellcheck disable=SC2086 # the options are words
    "$SIM" "${!tty_var}" ${LINE_OPTIONS[$i]} --stats "$stats" --verbose 2>"$WORK/sim-$device.log" &
    pids+=($!)
done
for i in "${!LINE_OPTIONS[@]}"; do
    stats=$WORK/sim-${pairs[$i]#*:}.txt
    for _ in $(seq 1 100); do
        [[ -s $stats ]] && break
        kill -0 "${pids[$i]}" 2>/dev/null || { cat "$WORK/sim-${pairs[$i]#*:}.log" >&2; exit 1; }
        sleep 0.05
    done
    [[ -s $stats ]] || { echo "with-simulators: simulator for ${pairs[$i]} did not start" >&2; exit 1; }
done

# Wine maps the Unix root to drive Z:.
QM27K_E2E_STATS_DIR="Z:${WORK//\//\\}"
export QM27K_E2E_STATS_DIR
"$RUNNER" "$RIG" "$@"
code=$?
if [[ $code -ne 0 ]]; then
    for i in "${!LINE_OPTIONS[@]}"; do
        echo "--- simulator log of ${pairs[$i]#*:} (last lines)"
        tail -n 30 "$WORK/sim-${pairs[$i]#*:}.log"
    done
fi
exit $code
