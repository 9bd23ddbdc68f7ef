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
wait_window '^Tintaro$' 5
start_shot="$E2E_TMP/folder.png"
# start_program's wait, for a program already started.
wait_window "$MAIN_WINDOW" 20
deadline=$((SECONDS + 10))
while :; do
    screenshot "$start_shot"
    diff=$(region_difference "$start_shot" "$app/PICTURE/01.GIF" $CANVAS_X $CANVAS_Y $CANVAS_W $CANVAS_H 0 0)
    awk -v d="$diff" 'BEGIN { exit !(d <= 0.5) }' && break
    [ "$SECONDS" -le "$deadline" ] || fail "drawing 01 never appeared on the canvas (difference $diff)"
    sleep 0.1
done
expect_colouring_screen "$start_shot" "$app"
kill -TERM "$APP_PID"
expect_exit "$APP_PID" 0 5
expect_no_process_left
pass
