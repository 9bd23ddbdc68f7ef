#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# A normal start of the real program, in a window (--windowed) and full
# screen: the splash of COLORS.EXE while the main window stays hidden, the
# main window after the first three-second pause, the colouring screen with
# drawing 01 on the canvas and every control at its place, then SIGTERM as
# the system's unload: a clean exit, the splash program reaped, nothing left.
# Once started, the main thread waits for input without a time limit (no
# polling, no timer while the music is off). It also reports the launch
# time, idle CPU and peak memory, which bench/ compares.
#   startup.sh APP_DIR
source "$(dirname "$0")/lib.sh"
app=${1:?application directory}
[ -x "$app/tintaro" ] || fail "no program at $app/tintaro"
e2e_init
require_tools python3 xprop

canvas_ref="$E2E_TMP/canvas-01.ppm"
convert "$app/PICTURE/01.GIF" "$canvas_ref"

start_and_check() {
    local label=$1 keyboard=$2
    shift 2
    start_xvfb 1024x768x24
    start_app "$(app_command "$app")" "$@"

    # First pause: the splash is up, the main window is not.
    wait_window '^Tintaro$'
    xdotool search --onlyvisible --name "$MAIN_WINDOW" >/dev/null 2>&1 &&
        fail "$label: the main window is visible during the first pause"

    wait_window "$MAIN_WINDOW"
    local shown
    shown=$(elapsed_since "$APP_START")
    # The pause is timed on the monotonic clock: a slow machine can only make
    # it longer.
    awk -v s="$shown" 'BEGIN { exit !(s >= 2.9) }' || fail "$label: window shown after ${shown}s, before the three-second pause ended"
    read -r x y w h < <(window_geometry)
    [ "$x $y $w $h" = "0 0 1024 768" ] || fail "$label: window at $x,$y ${w}x${h}, expected 0,0 1024x768"
    xprop -id "$WINDOW_ID" _NET_WM_ICON | grep -q 'Icon (32 x 32)' || fail "$label: the window has no 32x32 icon"
    # The class the menu entry names (StartupWMClass), whatever the command is called.
    [ "$(xprop -id "$WINDOW_ID" WM_CLASS)" = 'WM_CLASS(STRING) = "tintaro", "tintaro"' ] ||
        fail "$label: the window's class is not tintaro: $(xprop -id "$WINDOW_ID" WM_CLASS)"

    # The first frame with drawing 01 on the canvas counts as the colouring
    # screen. Polled with the cheapest tools (a PPM screenshot, one compare of
    # the canvas region) so that the time is known to about a quarter second.
    local shot="$E2E_TMP/$label.ppm" ready
    wait_until 30 "$label: drawing 01 never appeared on the canvas" _canvas_shows_drawing "$shot"
    ready=$(elapsed_since "$APP_START")
    expect_colouring_screen "$shot" "$app"

    # After the second pause the program only waits for events.
    wait_idle
    expect_no_zombie
    # Full screen holds the keyboard against the window manager; --windowed never does.
    expect_keyboard "$keyboard"
    [ -z "$(gl_libraries "$APP_PID")" ] || fail "$label: GL libraries loaded: $(gl_libraries "$APP_PID")"
    local idle hwm
    idle=$(cpu_percent "$APP_PID" 5)
    hwm=$(vmhwm_kb "$APP_PID")
    note "$label: window shown ${shown}s after launch, colouring screen at ${ready}s, idle CPU ${idle}%, VmHWM ${hwm} kB"
    # Still in a wait without a time limit: no timer or animation is armed.
    main_thread_waits_for_events "$APP_PID" || fail "$label: the idle program is not waiting for events"

    kill -TERM "$APP_PID"
    expect_exit "$APP_PID" 0
    expect_no_process_left
    expect_keyboard free
    wait_window_gone "$MAIN_WINDOW"
    stop_x
}

# The canvas region of a PPM screenshot (the cheapest to take) is drawing 01.
_canvas_shows_drawing() {
    local differing
    import -window root "$1" 2>/dev/null || return 1
    differing=$({ compare -metric AE "$1[${SLIKA_W}x${SLIKA_H}+${SLIKA_X}+${SLIKA_Y}]" "$canvas_ref" null: 2>&1 || true; } | awk '{ print $1 }')
    [ "$differing" = 0 ] || { echo "$differing pixels differ" >&2; return 1; }
}

start_and_check windowed free --windowed
start_and_check fullscreen held
pass
