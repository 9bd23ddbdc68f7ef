#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# A damaged application directory, as a parent who starts the program from a
# menu meets it: after the splash the program says in a message window of
# its own which file is wrong, keeps the same sentence as its one line on
# standard error, never goes full screen, and ends with a failure status
# once the message window is closed, leaving nothing behind.
#  1. a picture one byte too long, under openbox on a screen larger than the
#     layout (so that full screen would show as a window covering all of
#     it); the message window is closed with its button;
#  2. a missing picture without a window manager, where nobody but the
#     program can give the message window the focus: the keyboard is free
#     while it shows, and Return closes it; Escape does too, and so does
#     the way a window manager's close button closes a window. Each time
#     the message shows exactly once;
#  3. SIGTERM (a logout) while the message shows: the program and its
#     message window go, nothing of it is left running, and the next start
#     runs (no lock is kept by anything of the failed start).
#   assetcheck.sh APP_DIR
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/ui.sh"
ui_start_test "${1:-}"
require_tools xprop

# The message window's name is UTF-8 (_NET_WM_NAME), which xdotool's search
# may not read; xwininfo does. Sets MESSAGE_ID to the first viewable window
# whose name contains TEXT. While waiting, it also notes in FULLSCREEN any
# window of the program that covers the whole screen.
wait_message_window() {
    : >"$E2E_TMP/fullscreen"
    wait_until 30 "no message window naming $1" _message_window_up "$1" "$(screen_size | tr ' ' x)"
    MESSAGE_ID=$WAIT_OUTPUT
    FULLSCREEN=$(cat "$E2E_TMP/fullscreen")
}

_message_window_up() {
    local text=$1 screen=$2 id
    for id in $(xwininfo -root -tree | awk '/"Tintaro/ { print $1 }'); do
        xwininfo -id "$id" 2>/dev/null | grep -q 'Map State: IsViewable' || continue
        if xwininfo -id "$id" | grep -qF "\"Tintaro cannot start: $text\""; then
            echo "$id"
            return 0
        fi
        if xprop -id "$id" _NET_WM_STATE 2>/dev/null | grep -q _NET_WM_STATE_FULLSCREEN ||
            [ "$(window_geometry "$id" 2>/dev/null | cut -d' ' -f3,4 | tr ' ' x)" = "$screen" ]; then
            echo "$id $(xprop -id "$id" WM_NAME 2>/dev/null)" >>"$E2E_TMP/fullscreen"
        fi
    done
    process_runs "$APP_PID" || { echo "the program ended without a message window: $(cat "$E2E_TMP/stderr.log")" >&2; return 1; }
    return 1
}

# Clicks the message window's one button, found on a screenshot by the
# colour of its face.
click_message_button() {
    local shot="$E2E_TMP/message.png" x y w h centre
    read -r x y w h < <(window_geometry "$MESSAGE_ID")
    screenshot "$shot"
    centre=$("$UI_PY" - "$shot" "$x" "$y" "$w" "$h" <<'PY'
import sys
from PIL import Image
path, x, y, w, h = sys.argv[1], *map(int, sys.argv[2:])
pixels = Image.open(path).convert("RGB").crop((x, y, x + w, y + h)).load()
face = [(i, j) for i in range(w) for j in range(h) if pixels[i, j] == (46, 109, 180)]
if len(face) < 100:
    sys.exit("no button in the message window")
print(x + sum(p[0] for p in face) // len(face), y + sum(p[1] for p in face) // len(face))
PY
    ) || fail "cannot find the message window's button"
    click_at "$centre"
}

# Starts the damaged copy; only the program's own words go to standard
# error (the null audio driver has no banner).
start_damaged() {
    APP_START=$(now)
    SDL_AUDIODRIVER=dummy setsid "$1/tintaro" >"$E2E_TMP/app.log" 2>"$E2E_TMP/stderr.log" &
    APP_PID=$!
    APP_SID=$APP_PID
}

# The one line on standard error names the file and holds the words given.
expect_one_line() {
    [ "$(wc -l <"$E2E_TMP/stderr.log")" -eq 1 ] || fail "expected one line on standard error, got: $(cat "$E2E_TMP/stderr.log")"
    local line word
    line=$(cat "$E2E_TMP/stderr.log")
    for word in "$@"; do
        [[ "$line" == *"$word"* ]] || fail "the line does not say '$word': $line"
    done
    note "standard error: $line"
}

expect_still_waiting() {
    kill -0 "$APP_PID" 2>/dev/null && [ "$(ps -o stat= -p "$APP_PID" | cut -c1)" != Z ] ||
        fail "the program ended while its message window was open"
    xdotool search --onlyvisible --name "$MAIN_WINDOW" >/dev/null 2>&1 &&
        fail "the main window is still shown beside the message"
    return 0
}

# 1. A picture one byte too long, closed with the button.
tampered="$E2E_TMP/tampered"
copy_app "$app" "$tampered" PICTURE
length=$(stat -c %s "$tampered/PICTURE/ZVUCNIK2.JPG")
printf 'x' >>"$tampered/PICTURE/ZVUCNIK2.JPG"
start_xvfb 1280x1024x24
start_wm
start_damaged "$tampered"
wait_message_window PICTURE/ZVUCNIK2.JPG
shown=$(elapsed_since "$APP_START")
[ -z "$FULLSCREEN" ] || fail "a window went full screen before the check stopped the start: $FULLSCREEN"
# The check runs after the first three-second pause.
awk -v s="$shown" 'BEGIN { exit !(s >= 2.9) }' || fail "the message came ${shown}s after launch, expected after the first pause"
expect_one_line ZVUCNIK2.JPG "$length" "$((length + 1))"
expect_still_waiting
click_message_button
expect_exit "$APP_PID" 1
expect_no_process_left
note "message window ${shown}s after launch, status 1 once its button was clicked"
APP_PID=""
stop_x

# How many viewable message windows naming TEXT there are.
message_windows() {
    local id n=0
    for id in $(xwininfo -root -tree | awk '/"Tintaro cannot start/ { print $1 }'); do
        xwininfo -id "$id" 2>/dev/null | grep -q 'Map State: IsViewable' && n=$((n + 1))
    done
    echo "$n"
}

# 2. A missing picture, no window manager: closed with Return, Escape, or
# as a window manager closes a window.
missing="$E2E_TMP/missing"
copy_app "$app" "$missing" PICTURE
rm "$missing/PICTURE/01.GIF"
start_xvfb 1024x768x24
for way in Return Escape close; do
    start_damaged "$missing"
    wait_message_window PICTURE/01.GIF
    expect_one_line PICTURE/01.GIF missing
    expect_still_waiting
    expect_keyboard free
    [ "$(message_windows)" -eq 1 ] || fail "$(message_windows) message windows are up"
    if [ "$way" = close ]; then
        close_request "$MESSAGE_ID"
    else
        # To the focus, as a person types: no window is named.
        xdotool key "$way"
    fi
    expect_exit "$APP_PID" 1
    [ "$(message_windows)" -eq 0 ] || fail "a message window is still up after $way"
    expect_no_process_left
    note "closed with $way"
done
APP_PID=""

# 3. SIGTERM while the message shows; then a start that works.
start_damaged "$missing"
wait_message_window PICTURE/01.GIF
kill -TERM "$APP_PID"
expect_exit "$APP_PID" 1
expect_no_process_left
wait_until 10 "the message window outlived the program" output_is 0 message_windows
APP_PID=""
start_program "$app" --windowed
kill -TERM "$APP_PID"
expect_exit "$APP_PID" 0
pass
