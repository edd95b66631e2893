#!/usr/bin/env bash
# Idle CPU of the running program, read from the Linux side: Wine does not report the times
# of another process to a Windows program. Measured twice: while its window is active (the
# frame's hover timer runs), then while Notepad is in front of it. The rig has no window
# manager, so another program taking the foreground is how the window becomes inactive.
# Usage: idle-cpu.sh RIGDIR QM27K.exe [seconds]
set -euo pipefail
RIG=$1
EXE=$2
SECONDS_IDLE=${3:-10}
RUNNER=$(dirname "$0")/../tests/rig/wine-run

eval "$("$RUNNER" "$RIG" --env | grep -E '^export (WINEPREFIX|DISPLAY)=')"
"$RUNNER" "$RIG" "$EXE" &
runner=$!
other=""
trap 'kill $runner $other 2>/dev/null || true' EXIT
# Only the programs of this rig's prefix: other rigs on the machine may run them too.
ours() {
    while read -r p; do
        [[ $(cat "/proc/$p/comm" 2>/dev/null) != wine-run ]] || continue
        { tr '\0' '\n' <"/proc/$p/environ"; } 2>/dev/null | grep -qxF "WINEPREFIX=$WINEPREFIX" && echo "$p"
    done
}
find_process() {
    local pid=""
    for _ in $(seq 1 100); do
        pid=$(pgrep -f "$1" | ours | head -n 1 || true)
        [[ -n $pid ]] && break
        sleep 0.1
    done
    echo "$pid"
}
pid=$(find_process 'QM27K.exe')
[[ -n $pid ]] || { echo "idle-cpu: the program did not start" >&2; exit 1; }
# CPU time in nanoseconds of all the process's threads: the scheduler's own account, finer
# than the clock ticks of /proc/PID/stat (10 ms, a tenth of a percent over 10 s).
cpu_ns() { cat /proc/"$1"/task/*/schedstat 2>/dev/null | awk '{ sum += $1 } END { printf "%d", sum }'; }
measure() {
    local before after
    before=$(cpu_ns "$pid")
    sleep "$SECONDS_IDLE"
    after=$(cpu_ns "$pid")
    awk -v d=$((after - before)) -v s="$SECONDS_IDLE" -v what="$1" \
        'BEGIN { printf "idle CPU of the program over %d s, %s: %.1f ms (%.3f %% of one core)\n",
                 s, what, d / 1e6, 100 * d / 1e9 / s }'
}
# A pixel of the program's caption on screen: the skin paints it in another colour when the
# window is inactive, which shows that the second figure is the inactive one.
caption_pixel() {
    local window x y
    window=$(xdotool search --onlyvisible --name 'QM27K' 2>/dev/null | head -n 1)
    [[ -n $window ]] || { echo "?"; return; }
    x=$(xwininfo -id "$window" | awk '/Absolute upper-left X/ {print $4}')
    y=$(xwininfo -id "$window" | awk '/Absolute upper-left Y/ {print $4}')
    import -window root -crop "1x1+$((x + 300))+$((y + 15))" -depth 8 txt:- 2>/dev/null | grep -o '#[0-9A-F]\{6\}' | head -n 1
}

sleep 3 # past start-up
active_pixel=$(caption_pixel)
measure "window active"
"$RUNNER" "$RIG" "$WINEPREFIX/drive_c/windows/notepad.exe" &
other=$!
[[ -n $(find_process 'notepad.exe') ]] || { echo "idle-cpu: Notepad did not start" >&2; exit 1; }
# Notepad opens over the program's caption; without a window manager its X window is moved
# straight away, and Wine follows.
notepad=$(xdotool search --sync --onlyvisible --name 'Notepad' 2>/dev/null | head -n 1)
xdotool windowmove "$notepad" 0 "$(($(xdpyinfo | awk '/dimensions/ {split($2, d, "x"); print d[2]}') - 200))"
sleep 2 # Notepad shown and the program's frame repainted inactive
inactive_pixel=$(caption_pixel)
echo "caption pixel: $active_pixel while active, $inactive_pixel after Notepad came in front"
[[ $active_pixel != "$inactive_pixel" ]] || echo "idle-cpu: the program's window did not turn inactive" >&2
measure "window inactive"
