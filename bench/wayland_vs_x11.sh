#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The real program on a Wayland desktop, natively and through XWayland, side
# by side under the same private headless sway (see tests/e2e/sway.sh; needs
# root, to run sway as nobody): resident memory once the colouring screen
# waits for input, the wake-ups of all its threads over 10 s of that wait,
# the GL libraries mapped, and click to visible as a person sees it, from the click
# of the virtual pointer on a blank page to the first screen capture (grim)
# that shows the canvas changed. Each capture waits for sway's next frame
# (60 a second), so every time holds up to 17 ms of the desktop's own, the
# same for both.
# usage: bench/wayland_vs_x11.sh BUILD_DIR [ROUNDS]
e2e=$(cd "$(dirname "$0")/../tests/e2e" && pwd)
source "$e2e/lib.sh"
source "$e2e/ui.sh"
source "$e2e/sway.sh"
build=$(cd "${1:-build}" && pwd)
rounds=${2:-20}
e2e_init
ui_require
sway_init "$build/app" "$build/bin/virtual_input"
start_sway
start_input

# The click on the blank page floods the whole canvas; the change is looked
# for away from the pointer, which headless sway draws into every capture.
readonly POINT="400 330" WATCH="600,150" REST="1020 764"

# The canvas pixel at WATCH, as three bytes in hex.
watched_pixel() {
    as_nobody grim -g "$WATCH 1x1" -t ppm - | tail -c 3 | od -An -tx1 | tr -d ' \n'
}

_canvas_blank() {
    local shot="$E2E_TMP/blank.png"
    screenshot "$shot"
    [ "$(count_colour "$shot" $CANVAS_X $CANVAS_Y $CANVAS_W $CANVAS_H "$WHITE")" -eq $((CANVAS_W * CANVAS_H)) ]
}

# Adds to TIMES the milliseconds from a click at POINT to a capture that
# shows the canvas changed.
TIMES=()
click_to_visible() {
    local before start
    input move $POINT
    before=$(watched_pixel)
    start=$(now_us)
    input click
    while [ "$(watched_pixel)" = "$before" ]; do
        [ $(($(now_us) - start)) -lt 5000000 ] || fail "the click at $POINT changed nothing in 5 s"
    done
    TIMES+=($((($(now_us) - start) / 1000)))
}

measure() {
    local label=$1 shell=$2
    shift 2
    start_as_nobody "$@"
    expect_app_window "$shell"
    input move $REST
    expect_canvas 30 "$SWAY_APP/PICTURE/01.GIF"
    wait_idle
    local rss hwm gl before after
    rss=$(awk '/^VmRSS:/ { print int($2 / 1024) }' "/proc/$APP_PID/status")
    hwm=$(awk '/^VmHWM:/ { print int($2 / 1024) }' "/proc/$APP_PID/status")
    gl=$(gl_libraries "$APP_PID" | wc -l)
    before=$(context_switches)
    sleep 10
    after=$(context_switches)
    # A blank page, so that every measured click floods the whole canvas. The
    # click reaches the program after sway has it (through XWayland, well
    # after), so the wipe is waited for on the screen before the program's
    # rest.
    input move $PAPIR_C
    input click
    input move $REST
    wait_until 30 "the canvas never became blank" _canvas_blank
    wait_idle
    local i palette
    TIMES=()
    for i in $(seq "$rounds"); do
        # A new colour each time: red and green in turn.
        palette=$(palette_centre $((1 + i % 2)))
        input move $palette
        input click
        click_to_visible
    done
    note "$label, each click in ms: ${TIMES[*]}"
    kill -TERM "$APP_PID"
    expect_exit "$APP_PID" 0
    APP_PID=""
    printf '%s\n' "${TIMES[@]}" | sort -n | awk -v label="$label" -v rss="$rss" -v hwm="$hwm" -v gl="$gl" \
        -v wakes=$((after - before)) '
        { t[NR] = $1; sum += $1 }
        END { printf "%-26s %5d MB %5d MB %6d %8d %8d %8d %8.1f %8d\n", label, rss, hwm, gl, wakes, t[1], t[int((NR + 1) / 2)], sum / NR, t[NR] }'
}

# The context switches of every thread of the program so far.
context_switches() {
    cat /proc/"$APP_PID"/task/*/status 2>/dev/null | awk '/^(non)?voluntary_ctxt_switches:/ { n += $2 } END { print n + 0 }'
}

printf '%-26s %8s %8s %6s %8s %8s %8s %8s %8s\n' "" "resident" "peak" "GL .so" "wakes/10s" "min ms" "median" "mean" "max"
measure "native Wayland" xdg_shell
measure "X11 through XWayland" xwayland SDL_VIDEODRIVER=x11
