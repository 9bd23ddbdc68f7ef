#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The window in front when it is wanted there, on X11:
#  1. under openbox, full screen, with another window active: the first
#     click on the canvas brings the book forward and fills as well;
#  2. a second start while the first copy is minimised: it ends at once with
#     status 0, saying nothing, and the first copy is back, full screen and
#     holding the keyboard;
#  3. without a window manager on a 1280 x 1024 screen: the window covers
#     the screen, the picture scaled and letterboxed; a web button puts the
#     window behind the browser's and lets go of the keyboard; a second
#     start brings it back on top, holding the keyboard again;
#  4. a second start never takes the keyboard, not even for a moment: a
#     watcher asks for the keyboard as fast as it can all through it, while
#     the first copy runs in a window and holds nothing.
#   forward.sh APP_DIR
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/ui.sh"
ui_start_test "${1:-}"
require_tools xmessage xprop xdg-open
program=$(app_command "$app")
drawing="$app/PICTURE/01.GIF"
cloud="650 160" # a closed area of drawing 01

# A second start: done with status 0, no output, nothing left running.
second_start() {
    local out="$E2E_TMP/second.log" second
    SDL_AUDIODRIVER=dummy setsid "${AS_APP_USER[@]}" "$program" "$@" >"$out" 2>&1 &
    second=$!
    expect_exit "$second" 0
    [ ! -s "$out" ] || fail "the second start said: $(head -c 300 "$out")"
    wait_until 10 "the second start left processes behind" _session_of_gone "$second"
}

_session_of_gone() {
    local left
    left=$(ps -eo pid=,sid=,comm= | awk -v sid="$1" '$2 == sid')
    [ -z "$left" ] || { echo "$left" >&2; return 1; }
}

expect_window_state() {
    wait_until 20 "the window is not $1" output_is "$1" window_state "$WINDOW_ID"
}

# The window ids of the screen's top-level windows, top to bottom (the
# order xwininfo lists them in).
stacking() {
    xwininfo -root -children | awk '/^ +0x/ { print $1 }'
}

# True when window A is stacked above window B.
stacked_above() {
    local order a b
    order=$(stacking)
    a=$(grep -nx "$(printf '0x%x' "$1")" <<<"$order" | cut -d: -f1)
    b=$(grep -nx "$(printf '0x%x' "$2")" <<<"$order" | cut -d: -f1)
    [ -n "$a" ] && [ -n "$b" ] && [ "$a" -lt "$b" ] || { echo "positions $a and $b" >&2; return 1; }
}

# The screen shows the colouring screen scaled by 1.25 into 1280 x 960:
# black bands of 32 rows above and below it.
_letterboxed() {
    screenshot "$1"
    local top bottom
    top=$(count_colour "$1" 0 0 1280 32 "0 0 0" 8)
    bottom=$(count_colour "$1" 0 992 1280 32 "0 0 0" 8)
    [ "$top" -eq $((1280 * 32)) ] && [ "$bottom" -eq $((1280 * 32)) ] ||
        { echo "black pixels: $top above, $bottom below" >&2; return 1; }
    convert "$1" -crop 1280x960+0+32 +repage -resize 1024x768! "$E2E_TMP/unscaled.png"
    expect_region_like 12 "$E2E_TMP/unscaled.png" "$drawing" "$SLIKA_X" "$SLIKA_Y" "$SLIKA_W" "$SLIKA_H" 0 0
}

# 1. The first click after another window.
start_xvfb 1024x768x24
start_wm
start_program "$app"
xmessage -geometry +830+10 "another window" &
other_pid=$!
wait_window '^xmessage$'
other=$WINDOW_ID
xdotool windowactivate --sync "$other"
wait_until 20 "the other window did not become active" output_is "$other" active_window
WINDOW_ID=$(xdotool search --onlyvisible --name "$MAIN_WINDOW" | head -n1)
click_at "$cloud"
expect_canvas 20 "$drawing" "fill:${cloud/ /,},${RED// /,}" ignore:830,10,194,60
wait_until 20 "the book is not the active window" output_is "$WINDOW_ID" active_window

# 2. A second start while the first copy is minimised.
xdotool windowminimize "$WINDOW_ID"
expect_window_state Iconic
expect_keyboard free
second_start
expect_window_state Normal
expect_keyboard held
wait_until 20 "the window is not full screen again" output_is "0 0 1024 768" window_geometry "$WINDOW_ID"
expect_canvas 20 "$drawing" "fill:${cloud/ /,},${RED// /,}"
main_thread_waits_for_events "$APP_PID" || fail "the first copy is busy after the second start"
kill "$other_pid"
kill -TERM "$APP_PID"
expect_exit "$APP_PID" 0
expect_no_process_left
stop_x

# 3. No window manager, a larger screen, and a web button.
unset XDG_CURRENT_DESKTOP XDG_SESSION_DESKTOP DESKTOP_SESSION KDE_FULL_SESSION GNOME_DESKTOP_SESSION_ID
export XDG_DATA_HOME="$E2E_TMP/home/.local/share" XDG_CONFIG_HOME="$E2E_TMP/home/.config"
export XDG_DATA_DIRS="$E2E_TMP/share" XDG_CONFIG_DIRS="$E2E_TMP/etc"
mkdir -p "$XDG_DATA_HOME" "$XDG_CONFIG_HOME" "$XDG_DATA_DIRS" "$XDG_CONFIG_DIRS"
# The stand-in browser shows a window of its own, as a browser would.
export BROWSER="$E2E_TMP/browser"
printf '#!/bin/sh\nexec xmessage -title browser -geometry 400x300+100+100 browser\n' >"$BROWSER"
chmod +x "$BROWSER"
start_xvfb 1280x1024x24
start_app "$program"
wait_window "$MAIN_WINDOW"
wait_until 20 "the window does not cover the screen" output_is "0 0 1280 1024" window_geometry
shot="$E2E_TMP/letterbox.png"
wait_until 30 "the colouring screen is not scaled into the screen" _letterboxed "$shot"
wait_idle
expect_keyboard held
keys ctrl+r
read -r vx vy <<<"$VISIT_C"
click $((vx * 5 / 4)) $((vy * 5 / 4 + 32))
wait_window '^browser$'
browser=$WINDOW_ID
WINDOW_ID=$(xdotool search --onlyvisible --name "$MAIN_WINDOW" | head -n1)
wait_until 20 "the browser's window is not in front of the book" stacked_above "$browser" "$WINDOW_ID"
expect_keyboard free
second_start
wait_until 20 "the book is not back in front" stacked_above "$WINDOW_ID" "$browser"
expect_keyboard held
kill -TERM "$APP_PID"
expect_exit "$APP_PID" 0
stop_x

# 4. A second start takes no keyboard.
start_xvfb 1024x768x24
start_program "$app" --windowed
expect_keyboard free
watch_log="$E2E_TMP/watch.log"
stop_file="$E2E_TMP/stop-watching"
watch_keyboard_grabs "$stop_file" >"$watch_log" 2>&1 &
watcher=$!
expect_log '^watching' 20 "$watch_log"
second_start --windowed
touch "$stop_file"
wait "$watcher"
read -r _ tries _ refused < <(grep '^tries' "$watch_log")
[ "$tries" -gt 0 ] || fail "the watcher never asked for the keyboard"
[ "$refused" -eq 0 ] || fail "the keyboard was taken $refused times of $tries during the second start"
note "the watcher asked for the keyboard $tries times during the second start, always granted"
kill -TERM "$APP_PID"
expect_exit "$APP_PID" 0
pass
