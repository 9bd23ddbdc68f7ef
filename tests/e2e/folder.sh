#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The real program started from a folder whose name holds a backslash
# ("a\b", an ordinary name on Linux): the splash of COLORS.EXE, then the
# colouring screen with drawing 01 and every control's picture, found
# through that folder, and a palette click's sound; SIGTERM ends it cleanly.
#   folder.sh APP_DIR
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/ui.sh"
ui_start_test "${1:-}"

folder="$E2E_TMP/a\\b"
copy_app "$app" "$folder"
[ -x "$folder/tintaro" ] || fail "no copy at $folder"
start_xvfb 1024x768x24
start_app "$folder/tintaro" --windowed
wait_window '^Tintaro$'
wait_window "$MAIN_WINDOW"
expect_canvas 30 "$app/PICTURE/01.GIF"
start_shot="$E2E_TMP/canvas.png" # the screenshot expect_canvas matched
expect_colouring_screen "$start_shot" "$app"
# The sounds are found there too: a palette click is heard.
wait_idle
before=$(audio_frames)
click_at "$(palette_centre 2)"
wait_audio_frames $((AUDIO_RATE))
expect_audio "a palette click from a\\b" "$before" $((before + AUDIO_RATE)) above -45
kill -TERM "$APP_PID"
expect_exit "$APP_PID" 0
expect_no_process_left
pass
