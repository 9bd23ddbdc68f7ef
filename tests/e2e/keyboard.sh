#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# What keeps a child inside the real program and lets a parent out:
#  1. full screen, the program holds the keyboard, so no other X client can
#     take it; Ctrl+X shows the exit panel, and its yes button ends the
#     program with status 0, nothing of it left, the keyboard free again;
#  2. under a window manager with another program's window open, Alt+Tab
#     leaves the program in front (the same keys do switch between two
#     ordinary windows).
# A damaged picture ending the start is assetcheck.sh's.
#   keyboard.sh APP_DIR
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/ui.sh"
ui_start_test "${1:-}"
require_tools xmessage xprop

# The exit panel is up: its picture's upper part (the buttons cover the
# lower) over the frozen colouring screen.
expect_exit_panel() {
    expect_screen_region 4 "$app/PICTURE/CTRLX.JPG" 312 259 400 150 0 0
}

# 1. The keyboard while the program runs full screen, and the way out.
start_xvfb 1024x768x24
expect_grab_status GrabSuccess 0
start_program "$app"
read -r x y w h < <(window_geometry)
[ "$x $y $w $h" = "0 0 1024 768" ] || fail "window at $x,$y ${w}x${h}, expected the whole screen"
expect_grab_status AlreadyGrabbed
keys ctrl+x
expect_exit_panel
expect_grab_status AlreadyGrabbed 0
click_at "$DA_C"
expect_exit "$APP_PID" 0
expect_no_process_left
expect_grab_status GrabSuccess
wait_window_gone "$MAIN_WINDOW"
APP_PID=""
stop_x

# 2. Alt+Tab under openbox, with another program's window open.
start_xvfb 1024x768x24
start_wm
xmessage -title "Other program" "another program" >/dev/null 2>&1 &
other_pid=$!
xmessage -title "Third program" "a third program" >/dev/null 2>&1 &
third_pid=$!
wait_window "Other program"
other=$WINDOW_ID
wait_window "Third program"
third=$WINDOW_ID
# Without a grab, Alt+Tab moves the focus between the two.
xdotool windowactivate --sync "$other"
keys alt+Tab
wait_until 20 "Alt+Tab does not switch between two ordinary windows here" output_is "$third" active_window

start_program "$app"
main=$WINDOW_ID
wait_until 20 "the program's window never became the active window" output_is "$main" active_window
expect_grab_status AlreadyGrabbed
for round in 1 2 3; do
    keys alt+Tab
    # Held, the keys go to the program, which handles them in order: once a
    # later pointer movement shows, the window manager could have acted.
    ui_settle 800 20
    output_is "$main" active_window || fail "Alt+Tab (round $round) made another window active, not the program ($main)"
done
# Still in front and full screen: the whole screen is the program's.
screenshot "$E2E_TMP/after-alt-tab.png"
expect_colouring_screen "$E2E_TMP/after-alt-tab.png" "$app"
kill -TERM "$APP_PID"
expect_exit "$APP_PID" 0
APP_PID=""
kill "$other_pid" "$third_pid" 2>/dev/null
wait "$other_pid" "$third_pid" 2>/dev/null || true
stop_x

pass
