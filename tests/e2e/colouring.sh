#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Colouring in the real program, as a child does it: a click inside a closed
# area of drawing 01 paints exactly that area in the current colour (red at
# start) and sounds; a click on a palette button is heard, and the next fill
# paints in its colour; with the pencil, a drag draws a line three pixels
# wide. The canvas is checked pixel by pixel against the drawing's GIF with
# the same fills applied, and the sound through SDL's disk audio driver.
#   colouring.sh APP_DIR
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/ui.sh"
ui_start_test "${1:-}"
start_xvfb 1024x768x24

drawing="$app/PICTURE/01.GIF"
belly="405 465" # the cat's belly, a closed white area of 12,058 pixels
cloud="650 160" # the cloud, another closed area

start_program "$app" --windowed

# Nothing has sounded since the start.
start_frames=$(audio_frames)
expect_audio "start-up" 0 "$start_frames" below -90

# A fill in red, the colour at start, with its sound.
before=$(audio_frames)
click_at "$belly"
expect_canvas 20 "$drawing" "fill:${belly/ /,},${RED// /,}"
wait_audio_frames $((AUDIO_RATE))
expect_audio "after the fill" "$before" $((before + AUDIO_RATE)) above -45

# A palette click is heard, after silence; the fill sound has ended by now.
wait_audio_frames $((AUDIO_RATE / 2))
before=$(audio_frames)
expect_audio "before the palette click" $((before - AUDIO_RATE * 4 / 10)) "$before" below -90
click_at "$(palette_centre 2)"
wait_audio_frames $((AUDIO_RATE))
expect_audio "after the click on green" "$before" $((before + AUDIO_RATE)) above -45
# The click changed the colour and nothing on the canvas.
ui_settle 800 20
expect_canvas 0 "$drawing" "fill:${belly/ /,},${RED// /,}"

# The next fill paints green; the red area stays.
filled=("fill:${belly/ /,},${RED// /,}" "fill:${cloud/ /,},${GREEN// /,}")
click_at "$cloud"
expect_canvas 20 "$drawing" "${filled[@]}"

# A click on the fill's own colour changes nothing.
click_at "$cloud"
ui_settle 800 20
expect_canvas 0 "$drawing" "${filled[@]}"

# The pencil: a press and release without movement draws nothing, a drag
# draws a green line three pixels wide that turns a corner.
click_at "$OLOVKA_C"
click 300 90
ui_settle 800 20
expect_canvas 0 "$drawing" "${filled[@]}"
stroke 250 70 540 70 540 105
expect_canvas 20 "$drawing" "${filled[@]}" "line:${GREEN// /,},250,70,540,70,540,105"

# With the pencil active, a click in an area fills nothing.
click_at "$belly"
click 700 90
ui_settle 800 20
expect_canvas 0 "$drawing" "${filled[@]}" "line:${GREEN// /,},250,70,540,70,540,105"

kill -TERM "$APP_PID"
expect_exit "$APP_PID" 0
expect_no_process_left
pass
