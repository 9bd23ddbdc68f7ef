#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The keyboard guard of the real program, full screen, as another X client
# sees it (a grab attempt answers AlreadyGrabbed while the program holds
# the keyboard):
#  1. held from the first pause on, while the splash is in front and the
#     main window is hidden;
#  2. without a window manager: kept while another program's window has the
#     focus, and the keys still reach the program (Ctrl+X shows the exit
#     panel); a web button of the information panel, which nobody can
#     minimise the window for, lowers it behind the other windows and lets
#     go of the keyboard for the browser; a click on the book brings it
#     back, holding the keyboard again;
#  3. under openbox: kept while another window is the active one; the web
#     button's minimise lets it go, and the window brought back takes it
#     again;
#  and once the program has ended, the keyboard is free.
#   guard.sh APP_DIR
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/ui.sh"
ui_start_test "${1:-}"
require_tools xmessage xprop python3

# A stand-in browser: xdg-open records the address and returns.
mkdir -p "$E2E_TMP/bin"
opened="$E2E_TMP/opened"
cat >"$E2E_TMP/bin/xdg-open" <<EOF
#!/bin/sh
echo "\$1" >>"$opened"
EOF
chmod +x "$E2E_TMP/bin/xdg-open"
export PATH="$E2E_TMP/bin:$PATH"

held() {
    [ "$(keyboard_grab_status)" = AlreadyGrabbed ]
}

free() {
    [ "$(keyboard_grab_status)" = GrabSuccess ]
}

exit_panel_shown() {
    local shot="$E2E_TMP/exit-panel.png" diff
    screenshot "$shot"
    diff=$(region_difference "$shot" "$app/PICTURE/CTRLX.JPG" 312 259 400 150 0 0)
    awk -v d="$diff" 'BEGIN { exit !(d <= 4) }'
}

info_panel_gone() {
    local shot="$E2E_TMP/info-panel.png" diff
    screenshot "$shot"
    diff=$(region_difference "$shot" "$app/PICTURE/CTRL-R.JPG" 312 259 300 136 0 0)
    awk -v d="$diff" 'BEGIN { exit !(d > 4) }'
}
exit_panel_gone() {
    ! exit_panel_shown
}

# Samples the keyboard for a while: held at every sample. The minimise
# request is given up for lost after one second, so two cover it.
expect_held_throughout() {
    local what=$1 i
    for i in $(seq 20); do
        held || fail "$what: the keyboard was free at sample $i"
        sleep 0.1
    done
}

other_window() {
    xmessage -title "$1" "another program" >/dev/null 2>&1 &
    OTHER_PID=$!
    wait_window "$1"
    OTHER_ID=$WINDOW_ID
}

# 1. The splash's pause.
start_xvfb 1024x768x24
wait_until 20 "the keyboard is held before the program runs" free
start_app "$app/tintaro"
wait_window '^Tintaro$'
xdotool search --onlyvisible --name "$MAIN_WINDOW" >/dev/null 2>&1 && fail "the main window shows during the splash"
held || fail "the keyboard is free while the splash shows"
kill -TERM "$APP_PID"
expect_exit "$APP_PID" 0

# 2. No window manager: a window of another program takes the focus.
start_program "$app"
main=$WINDOW_ID
other_window "Other program"
xdotool windowfocus --sync "$OTHER_ID"
[ "$(xdotool getwindowfocus)" = "$OTHER_ID" ] || fail "the other program's window did not get the focus"
expect_held_throughout "another window focused"
keys ctrl+x
wait_until 20 "Ctrl+X with another window focused showed no exit panel" exit_panel_shown
click_at "$NE_C"
wait_until 20 "the exit panel stayed after its no button" exit_panel_gone
kill "$OTHER_PID" 2>/dev/null
wait "$OTHER_PID" 2>/dev/null || true

# The web button: nobody minimises, so the window goes behind the others
# and the browser gets the keys; a click on the book brings it back.
keys ctrl+r
click_at "$VISIT_C"
wait_until 20 "the web button opened no page" test -s "$opened"
wait_until 20 "the lowered book still holds the keyboard" free
click_at "$ZATVORI_C"
wait_until 20 "a click on the book did not take the keyboard back" held
expect_held_throughout "the book brought back"
wait_until 20 "the click that brought the book back did not close the panel" info_panel_gone
[ "$(xdotool search --onlyvisible --name "$MAIN_WINDOW" | head -n1)" = "$main" ] || fail "the window is no longer shown"
kill -TERM "$APP_PID"
expect_exit "$APP_PID" 0
expect_no_process_left
wait_until 20 "the keyboard is still held after the program ended" free
APP_PID=""
stop_x

# 3. Under openbox.
start_xvfb 1024x768x24
start_wm
start_program "$app"
main=$WINDOW_ID
wait_until 20 "the program's window never became the active window" output_is "$main" active_window
other_window "Other program"
xdotool windowactivate --sync "$OTHER_ID"
wait_until 20 "the other program's window never became active" output_is "$OTHER_ID" active_window
expect_held_throughout "another window active"
xdotool windowactivate --sync "$main"
held || fail "the keyboard is free with the program active again"
kill "$OTHER_PID" 2>/dev/null
wait "$OTHER_PID" 2>/dev/null || true

keys ctrl+r
click_at "$VISIT_C"
wait_until 20 "the window was not minimised" output_is Iconic window_state "$main"
wait_until 20 "the minimised program still holds the keyboard" free
xdotool windowactivate "$main"
wait_until 20 "the window did not come back" output_is Normal window_state "$main"
wait_until 20 "the window brought back did not take the keyboard again" held
kill -TERM "$APP_PID"
expect_exit "$APP_PID" 0
wait_until 20 "the keyboard is still held after the program ended" free
APP_PID=""
pass
