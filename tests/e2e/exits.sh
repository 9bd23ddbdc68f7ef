#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Every way out of the real program other than its exit panel, at every
# moment of its life: SIGTERM, SIGINT, SIGHUP, a window manager's close
# request and the window destroyed by another client (xdotool windowclose),
# during the first start-up pause (the splash in front, the main window
# hidden), during the second (the main window just shown) and once the
# start-up is over. Each ends the program with status 0 and no X error
# text, leaves no process behind (the splash program included, which would
# otherwise still show) and leaves the keyboard free for another client.
#
# Then the program's main thread is stopped for good in the middle of a key
# (a test build: F12 never returns) with the keyboard held: SIGTERM still
# ends the process, which the watchdog ends at once as SIGTERM would a
# program without a handler, and the keyboard is free again.
#   exits.sh APP_DIR HANGING_PROGRAM
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/ui.sh"
app=${1:?application directory}
hanging=${2:?path to the program that hangs on F12}
[ -x "$app/tintaro" ] || fail "no program at $app/tintaro"
[ -x "$hanging" ] || fail "no program at $hanging"
e2e_init
ui_require
require_tools python3

start_xvfb 1024x768x24
expect_grab_status GrabSuccess 0

main_window_id() {
    xdotool search --name "$MAIN_WINDOW" 2>/dev/null | head -n1
}

splash_shown_main_hidden() {
    xdotool search --onlyvisible --name '^Tintaro$' >/dev/null 2>&1 &&
        ! xdotool search --onlyvisible --name "$MAIN_WINDOW" >/dev/null 2>&1 &&
        [ -n "$(main_window_id)" ]
}

# Starts the program and returns in the moment named.
start_in() {
    case $1 in
    splash)
        start_app "$app/tintaro"
        wait_until 20 "the splash never showed with the main window hidden" splash_shown_main_hidden
        ;;
    shown)
        start_app "$app/tintaro"
        wait_window "$MAIN_WINDOW"
        ;;
    running)
        start_program "$app"
        ;;
    esac
}

ask_to_end() {
    case $1 in
    TERM | INT | HUP) kill -s "$1" "$APP_PID" ;;
    close) close_request "$(main_window_id)" ;;
    destroy) xdotool windowclose "$(main_window_id)" ;;
    esac
}

# expect_clean_end WHAT STATUS: the program ends with STATUS, nothing of it
# is left, no X error was printed, and the keyboard is free.
expect_clean_end() {
    local what=$1 status=$2
    expect_exit "$APP_PID" "$status" 20
    note "$what: ended $(elapsed_since "$asked")s after the request"
    expect_no_process_left
    expect_grab_status GrabSuccess 2
    if grep -q 'X Error' "$E2E_TMP/app.log"; then
        fail "$what: X error text: $(grep -A4 'X Error' "$E2E_TMP/app.log" | tr '\n' '|')"
    fi
    APP_PID=""
}

# moment request
while read -r moment request; do
    start_in "$moment"
    # Held in every moment, the splash's included.
    [ "$(keyboard_grab_status)" = AlreadyGrabbed ] || fail "$moment: the keyboard is not held"
    asked=$(now)
    ask_to_end "$request"
    expect_clean_end "$request during $moment" 0
done <<'CASES'
splash TERM
splash close
shown INT
shown close
shown destroy
running HUP
running close
running destroy
CASES

# The main thread stuck for good, the keyboard held.
stuck="$E2E_TMP/stuck"
copy_app "$app" "$stuck"
cp "$hanging" "$stuck/tintaro"
start_program "$stuck"
keys F12
expect_log '^hanging$'
expect_grab_status AlreadyGrabbed 0
asked=$(now)
kill -TERM "$APP_PID"
expect_clean_end "SIGTERM with the main thread stuck" $((128 + 15))
expect_log 'no orderly end within'
pass
