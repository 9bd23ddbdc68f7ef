#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The SDL window layer through a minimal program (window_probe): placement,
# full screen scaled with its aspect kept, pointer coordinates mapped back to
# the 1024 x 768 layout, dirty-rectangle updates, the keyboard held while the
# window has the screen and let go when it is minimised, Alt+Tab kept from
# the window manager, SIGTERM as a clean quit, and no GL in the process.
#   window.sh PATH/TO/window_probe
source "$(dirname "$0")/lib.sh"
probe=${1:?path to window_probe}
e2e_init
require_tools python3

red="200 0 0" green="0 160 0" blue="0 0 220" yellow="240 200 0" black="0 0 0"

# The probe runs from a folder of its own, and a 48 x 48 icon is the custom
# cursor. The window icon and the palette and drop pointers are compiled in:
# beside the probe lie their pictures as they were once read from there, with
# the length of their second chunk made enormous (enough to send a PNG reader
# round for ever), and nothing changes.
bin="$E2E_TMP/bin"
mkdir -p "$bin/UI"
cp "$probe" "$bin/window_probe"
probe="$bin/window_probe"
ui="$(cd "$(dirname "$0")/../.." && pwd)/assets/UI"
for picture in ICON32 PALETTE DROP; do
    cp "$ui/$picture.png" "$bin/UI/$picture.png"
    printf '\x7f' | dd of="$bin/UI/$picture.png" bs=1 seek=33 conv=notrunc status=none
done
convert -size 48x48 xc:none -fill blue -draw 'rectangle 8,8 40,40' "$E2E_TMP/BUCKET.ICO"

# 1. Full screen on a screen of the layout's own size, no window manager.
start_xvfb 1024x768x24
[ "$(keyboard_grab_state)" = free ] || fail "the keyboard is held before the program runs"
start_app "$probe" --cursor "$E2E_TMP/BUCKET.ICO"
wait_window "Tintaro probe"
expect_log '^FullScreen 1$'
expect_log '^FocusGained'
xprop -id "$WINDOW_ID" _NET_WM_ICON | grep -q 'Icon (32 x 32)' || fail "the window has no 32x32 icon"
read -r x y w h < <(window_geometry)
[ "$x $y $w $h" = "0 0 1024 768" ] || fail "window at $x,$y ${w}x${h}, expected the whole 1024x768 screen"
expect_keyboard held
_full_drawn() {
    screenshot "$E2E_TMP/full.png"
    expect_pixel "$E2E_TMP/full.png" 0 0 "$red"
    expect_pixel "$E2E_TMP/full.png" 1023 0 "$green"
    expect_pixel "$E2E_TMP/full.png" 0 767 "$blue"
    expect_pixel "$E2E_TMP/full.png" 1023 767 "$yellow"
    expect_pixel "$E2E_TMP/full.png" 511 383 "$red"
    expect_pixel "$E2E_TMP/full.png" 512 384 "$yellow"
}
wait_until 20 "the frame is not drawn full screen" _full_drawn

# Pointer shapes: the arrow from the start, the system hand, the palette and
# drop pictures and a loaded icon, each with its hot spot at the centre.
expect_log '^CustomCursor 1$'
arrow=$(cursor_shape)
_cursor_is_not() {
    [ "$(cursor_shape)" != "$1" ]
}
keys 2
wait_until 20 "the hand cursor looks like the arrow ($arrow)" _cursor_is_not "$arrow"
keys 3
expect_cursor "64 64 32 32"
keys 4
expect_cursor "32 32 16 16"
keys 5
expect_cursor "48 48 24 24"
keys 1
expect_cursor "$arrow"

# A click paints a 16 x 16 square through a dirty rectangle; the rest stays.
click 300 200
expect_log '^MouseDown 300 200 1 . 0 0 0$'
expect_log '^MouseUp 300 200 1 0 0 0 0$'
_square_painted() {
    screenshot "$E2E_TMP/click.png"
    local n
    n=$(count_colour "$E2E_TMP/click.png" 284 184 32 32 "$black")
    [ "$n" = 256 ] || { echo "$n black pixels" >&2; return 1; }
}
wait_until 20 "the painted square is not 16x16 at 292,192" _square_painted
expect_pixel "$E2E_TMP/click.png" 291 200 "$red"
expect_pixel "$E2E_TMP/click.png" 308 200 "$red"

# The pointer keeps reporting while the button is held, also outside.
xdotool mousemove --sync 600 500 mousedown 3 mousemove --sync 700 600 mouseup 3
expect_log '^MouseMove 700 600 0 2 0 0 0$'
expect_log '^MouseUp 700 600 2 0 0 0 0$'

# Keys arrive as Windows virtual-key codes with the shift mask.
keys ctrl+x
expect_log '^KeyDown 0 0 0 0 2 88 0$'
keys ctrl+shift+p
expect_log '^KeyDown 0 0 0 0 3 80 0$'
keys super
expect_log '^KeyDown 0 0 0 0 0 91 0$'
keys alt+F4
expect_log '^KeyDown 0 0 0 0 4 115 1$'

[ -z "$(gl_libraries "$APP_PID")" ] || fail "GL libraries in the process: $(gl_libraries "$APP_PID")"
# Idle, the loop waits for the next event without a time limit.
wait_idle
note "idle CPU $(cpu_percent "$APP_PID" 3)%, VmHWM $(vmhwm_kb "$APP_PID") kB at 1024x768"

kill -TERM "$APP_PID"
expect_exit "$APP_PID" 0
expect_log '^Quit'
expect_keyboard free
expect_no_process_left
stop_x

# 2. A larger screen under a window manager: scaled with bars at the sides.
start_xvfb 1920x1080x24
start_wm
start_app "$probe"
wait_window "Tintaro probe"
expect_log '^FullScreen 1$'
wait_until 20 "the full screen window is not at 0,0 1920x1080" output_is "0 0 1920 1080" window_geometry
expect_keyboard held
# 1024 x 768 scaled by 1080/768 is 1440 x 1080, 240 pixels of bar each side.
_scaled_drawn() {
    screenshot "$E2E_TMP/scaled.png"
    expect_pixel "$E2E_TMP/scaled.png" 100 540 "$black"
    expect_pixel "$E2E_TMP/scaled.png" 1820 540 "$black"
    expect_pixel "$E2E_TMP/scaled.png" 245 5 "$red" 8
    expect_pixel "$E2E_TMP/scaled.png" 1675 5 "$green" 8
    expect_pixel "$E2E_TMP/scaled.png" 245 1075 "$blue" 8
    expect_pixel "$E2E_TMP/scaled.png" 1675 1075 "$yellow" 8
}
wait_until 20 "the scaled frame is not drawn with bars" _scaled_drawn
click 600 270
expect_log '^MouseDown 256 192 1 . 0 0 0$'
_black_at() {
    screenshot "$E2E_TMP/scaled-click.png"
    expect_pixel "$E2E_TMP/scaled-click.png" "$1" "$2" "$black"
}
wait_until 20 "the scaled click painted nothing" _black_at 600 270

# Dragged into the bar, the pointer goes on reporting, in layout coordinates
# beyond the frame's edge: (100 - 240) / 1.40625 and 300 / 1.40625.
xdotool mousemove --sync 600 300 mousedown 1 mousemove --sync 100 300 mouseup 1
expect_log '^MouseMove -99 213 0 1 0 0 0$'
expect_log '^MouseUp -99 213 1 0 0 0 0$'

# Alt+Tab reaches the program, not the window manager.
keys alt+Tab
expect_log '^KeyDown 0 0 0 0 4 9 1$'
[ "$(xdotool getactivewindow)" = "$WINDOW_ID" ] || fail "Alt+Tab took the window out of the front"

# Minimised, the program lets go of the keyboard; back in front, it holds it again.
keys M
expect_log '^Minimised'
expect_keyboard free
xdotool windowactivate "$WINDOW_ID"
expect_log '^Restored'
expect_keyboard held
kill -TERM "$APP_PID"
expect_exit "$APP_PID" 0
expect_keyboard free

# 3. --windowed: a plain 1024 x 768 window that never holds the keyboard.
start_app "$probe" --windowed
wait_window "Tintaro probe"
expect_log '^FullScreen 1$'
window_size() {
    window_geometry | cut -d' ' -f3,4
}
wait_until 20 "the window is not 1024x768" output_is "1024 768" window_size
read -r x y w h < <(window_geometry)
[ "$(keyboard_grab_state)" = free ] || fail "the windowed program holds the keyboard"
_windowed_drawn() {
    screenshot "$E2E_TMP/windowed.png"
    expect_pixel "$E2E_TMP/windowed.png" $((x + 10)) $((y + 10)) "$red"
    expect_pixel "$E2E_TMP/windowed.png" $((x + 1013)) $((y + 757)) "$yellow"
}
wait_until 20 "the window's frame is not drawn" _windowed_drawn
click $((x + 40)) $((y + 30))
expect_log '^MouseDown 40 30 1 '
# A held button keeps the pointer reported outside the window.
xdotool mousemove --sync $((x + 40)) $((y + 30)) mousedown 1 mousemove --sync $((x - 50)) $((y + 30)) mouseup 1
expect_log '^MouseMove -50 30 0 1 0 0 0$'
expect_log '^MouseUp -50 30 1 0 0 0 0$'
# Nothing holds the keyboard, so Alt+F4 reaches openbox, whose close
# request ends the program like SIGTERM.
keys alt+F4
expect_log '^Quit'
expect_exit "$APP_PID" 0
expect_no_process_left
pass
