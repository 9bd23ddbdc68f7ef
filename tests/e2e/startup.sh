#!/usr/bin/env bash
# A normal start of the real program, in a window (--windowed) and full
# screen: the splash of COLORS.EXE while the main window stays hidden, the
# main window after the first three-second pause, the colouring screen with
# drawing 01 on the canvas and every control at its place, then SIGTERM as
# the system's unload: a clean exit, the splash program reaped, nothing left.
# It also reports the launch time, idle CPU and peak memory.
#   startup.sh APP_DIR
source "$(dirname "$0")/lib.sh"
app=${1:?application directory}
[ -x "$app/tintaro" ] || fail "no program at $app/tintaro"
e2e_init
require_tools python3 xprop

# Idle goals: no polling (0 % CPU once started; the audio device's own
# thread may cost a tick now and then) and at most 40 MB peak resident.
max_idle_cpu=1
max_hwm_kb=40960
canvas_ref="$E2E_TMP/canvas-01.ppm"
convert "$app/PICTURE/01.GIF" "$canvas_ref"

start_and_check() {
    local label=$1 keyboard=$2
    shift 2
    start_xvfb 1024x768x24
    start_app "$app/tintaro" "$@"

    # First pause: the splash is up, the main window is not.
    wait_window '^Tintaro$' 5
    xdotool search --onlyvisible --name "$MAIN_WINDOW" >/dev/null 2>&1 &&
        fail "$label: the main window is visible during the first pause"

    wait_window "$MAIN_WINDOW" 15
    local shown
    shown=$(elapsed_since "$APP_START")
    awk -v s="$shown" 'BEGIN { exit !(s >= 2.9 && s <= 5) }' || fail "$label: window shown after ${shown}s, expected about 3"
    read -r x y w h < <(window_geometry)
    [ "$x $y $w $h" = "0 0 1024 768" ] || fail "$label: window at $x,$y ${w}x${h}, expected 0,0 1024x768"
    xprop -id "$WINDOW_ID" _NET_WM_ICON | grep -q 'Icon (32 x 32)' || fail "$label: the window has no 32x32 icon"

    # The first frame with drawing 01 on the canvas counts as the colouring
    # screen. Polled with the cheapest tools (a PPM screenshot, one compare of
    # the canvas region) so that the time is known to about a quarter second.
    local shot="$E2E_TMP/$label.ppm" ready="" differing=""
    local deadline=$((SECONDS + 5))
    while [ "$SECONDS" -le "$deadline" ]; do
        import -window root "$shot" 2>/dev/null || fail "screenshot failed"
        differing=$({ compare -metric AE "$shot[750x600+30+29]" "$canvas_ref" null: 2>&1 || true; } | awk '{ print $1 }')
        if [ "$differing" = 0 ]; then
            ready=$(elapsed_since "$APP_START")
            break
        fi
    done
    [ -n "$ready" ] || fail "$label: drawing 01 never appeared on the canvas ($differing pixels differ)"
    expect_colouring_screen "$shot" "$app"

    # The second pause ends three seconds after the window appeared; then
    # the program only waits for events.
    sleep "$(awk -v s="$shown" -v r="$(elapsed_since "$APP_START")" 'BEGIN { d = s + 3.5 - r; print (d > 0 ? d : 0) }')"
    expect_no_zombie
    # Full screen holds the keyboard against the window manager; --windowed never does.
    expect_keyboard "$keyboard"
    [ -z "$(gl_libraries "$APP_PID")" ] || fail "$label: GL libraries loaded: $(gl_libraries "$APP_PID")"
    local idle hwm
    idle=$(cpu_percent "$APP_PID" 5)
    hwm=$(vmhwm_kb "$APP_PID")
    note "$label: window shown ${shown}s after launch, colouring screen at ${ready}s, idle CPU ${idle}%, VmHWM ${hwm} kB"
    awk -v c="$idle" -v m="$max_idle_cpu" 'BEGIN { exit !(c <= m) }' || fail "$label: idle CPU ${idle}% (limit ${max_idle_cpu}%)"
    [ "$hwm" -le "$max_hwm_kb" ] || fail "$label: VmHWM ${hwm} kB (limit ${max_hwm_kb} kB)"

    kill -TERM "$APP_PID"
    expect_exit "$APP_PID" 0 5
    expect_no_process_left
    expect_keyboard free
    wait_window_gone "$MAIN_WINDOW" 2
    kill "$XVFB_PID"
    wait "$XVFB_PID" 2>/dev/null || true
    XVFB_PID=""
}

start_and_check windowed free --windowed
start_and_check fullscreen held
pass
