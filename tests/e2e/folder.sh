#!/usr/bin/env bash
# The real program started from a folder whose name holds a backslash
# ("a\b", an ordinary name on Linux): the splash of COLORS.EXE, then the
# colouring screen with drawing 01 and every control's picture, found
# through that folder; SIGTERM ends it cleanly.
#   folder.sh APP_DIR
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/ui.sh"
app=${1:?application directory}
[ -x "$app/tintaro" ] || fail "no program at $app/tintaro"
e2e_init
ui_require

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
kill -TERM "$APP_PID"
expect_exit "$APP_PID" 0
expect_no_process_left
pass
