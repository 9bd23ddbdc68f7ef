#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# How long a child's keys reach the desktop after the program is launched on
# a Wayland desktop, under a private headless sway (tests/e2e/sway.sh; needs
# root, to run sway as nobody). From 1 s before the launch to 8 s after it,
# a virtual keyboard presses a sway binding every 100 ms; each run of the
# binding that sway reports after the launch is a moment the keyboard was
# free. Natively (our own window, and the splash holding the keyboard before
# it) and through XWayland (SDL_VIDEODRIVER=x11; wlroots honours no X grab,
# so the keyboard is free throughout there: the yardstick).
# Prints each run and the medians; asserts nothing.
# usage: bench/wayland_keyboard_free.sh BUILD_DIR [RUNS]
e2e=$(cd "$(dirname "$0")/../tests/e2e" && pwd)
source "$e2e/lib.sh"
source "$e2e/ui.sh"
source "$e2e/sway.sh"
build=$(cd "${1:-build}" && pwd)
runs=${2:-5}
readonly PERIOD_MS=100 BEFORE_S=1 AFTER_S=8
e2e_init
sway_init "$build/app" "$build/bin/virtual_input"
start_sway "bindsym Mod4+F11 nop free-probe"
start_input

# Each binding sway runs, as the microseconds it was reported at.
as_nobody swaymsg -r -m -t subscribe '["binding"]' 2>/dev/null | while read -r line; do
    case $line in *free-probe*) echo "$(now_us)" ;; esac
done >>"$E2E_TMP/ran.log" &
SWAY_CHILDREN+=($!)
sleep 0.5

median() {
    sort -n | awk '{ v[NR] = $1 } END { if (NR == 0) print "-"; else if (NR % 2) print v[(NR + 1) / 2]; else print int((v[NR / 2] + v[NR / 2 + 1]) / 2) }'
}

# One run: presses the binding every PERIOD_MS from BEFORE_S before the
# launch to AFTER_S after it, then ends the program. Prints "RAN FIRST_HOLD
# LAST_FREE": the presses that ran after the launch, and the milliseconds
# from the launch to the first press held and to the last one that ran.
one_run() {
    local tick next launch="" end start pressed=()
    : >"$E2E_TMP/ran.log"
    start=$(now_us)
    end=$((start + (BEFORE_S + AFTER_S) * 1000000))
    next=$start
    while [ "$(now_us)" -lt "$end" ]; do
        if [ -z "$launch" ] && [ "$(now_us)" -ge $((start + BEFORE_S * 1000000)) ]; then
            launch=$(now_us)
            start_as_nobody "$@"
        fi
        tick=$(now_us)
        input key super+F11
        pressed+=("$tick")
        next=$((next + PERIOD_MS * 1000))
        while [ "$(now_us)" -lt "$next" ]; do sleep 0.01; done
    done
    kill -TERM "$APP_PID"
    expect_exit "$APP_PID" 0
    APP_PID=""
    sleep 0.3
    # A press ran when sway reported a binding within one period of it.
    printf '%s\n' "${pressed[@]}" | "$UI_PY" -c '
import sys
launch, period = int(sys.argv[1]), int(sys.argv[2]) * 1000
ran = sorted(int(l) for l in open(sys.argv[3]) if l.strip())
presses = [int(l) for l in sys.stdin if l.strip()]
free, first_held, last_free = 0, None, None
for p in presses:
    hit = any(p <= r < p + period for r in ran)
    if p < launch:
        continue
    if hit:
        free += 1
        last_free = (p - launch) // 1000
    elif first_held is None:
        first_held = (p - launch) // 1000
print(free, first_held if first_held is not None else -1, last_free if last_free is not None else 0)
' "$launch" "$PERIOD_MS" "$E2E_TMP/ran.log"
}

measure() {
    local label=$1 i out
    shift
    : >"$E2E_TMP/free" && : >"$E2E_TMP/first" && : >"$E2E_TMP/last"
    for i in $(seq "$runs"); do
        out=$(one_run "$@")
        read -r ran first last <<<"$out"
        echo $((ran * PERIOD_MS)) >>"$E2E_TMP/free"
        echo "$first" >>"$E2E_TMP/first"
        echo "$last" >>"$E2E_TMP/last"
        note "$label run $i: $ran of the presses after launch ran (about $((ran * PERIOD_MS)) ms free);" \
            "first press held at $first ms, last free at $last ms"
        as_nobody swaymsg "workspace 1" >/dev/null
    done
    printf '%-22s %14s %14s %14s\n' "$label" "$(median <"$E2E_TMP/free")" "$(median <"$E2E_TMP/first")" \
        "$(median <"$E2E_TMP/last")"
}

printf '%-22s %14s %14s %14s\n' "medians of $runs runs" "free ms" "first held ms" "last free ms"
measure "native Wayland"
measure "X11 through XWayland" SDL_VIDEODRIVER=x11
