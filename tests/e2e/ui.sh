# SPDX-License-Identifier: GPL-3.0-or-later
# Helpers for the end-to-end tests that drive the real program's screens:
# where the controls are, a start that waits for the colouring screen, the
# canvas as a person sees it checked pixel by pixel against the drawing's
# GIF, and the sound output of SDL's disk audio driver. Source it after
# lib.sh:
#
#   source "$(dirname "$0")/lib.sh"
#   source "$(dirname "$0")/ui.sh"

# Pixel arithmetic on screenshots needs Pillow, which Debian packages for
# the system's Python (a Python of a version manager may come without it).
UI_PY=/usr/bin/python3

# The layout, in window pixels, comes from the control table through lib.sh
# (E2E_LAYOUT); with --windowed and no window manager, or full screen on a
# 1024 x 768 screen, window and screen pixels coincide.
readonly CANVAS_X=$SLIKA_X CANVAS_Y=$SLIKA_Y CANVAS_W=$SLIKA_W CANVAS_H=$SLIKA_H

# Centres of the controls a test clicks (NAME_C of the layout).
readonly VISIT_C=$VISIT_SITE_C

# Colours of the palette buttons of the same names.
readonly RED=${PALETTE_RGB[1]} GREEN=${PALETTE_RGB[2]} BLUE=${PALETTE_RGB[10]} WHITE="255 255 255"

# The start of a test of the program in application directory APP (its
# first argument): sets `app`, the temporary folder and the tools.
ui_start_test() {
    app=$1
    [ -n "$app" ] || fail "usage: ${0##*/} APP_DIR"
    [ -x "$app/tintaro" ] || fail "no program at $app/tintaro"
    e2e_init
    ui_require
}

ui_require() {
    require_tools "$UI_PY"
    "$UI_PY" -c 'import PIL' 2>/dev/null || fail "$UI_PY has no Pillow (run scripts/install-deps)"
}

# Centre of palette button K (1..12, from the left).
palette_centre() {
    echo "$((PALETTE_LEFT[$1] + 42)) $((PALETTE_TOP[$1] + 42))"
}

# Left, top of gallery thumbnail N (1..25), row by row, GALERIJA1_W x
# GALERIJA1_H each.
thumbnail_origin() {
    local n=$1
    echo "${THUMBNAIL_COLUMN_LEFT[$(((n - 1) % 5))]} ${THUMBNAIL_ROW_TOP[$(((n - 1) / 5))]}"
}

# The two-digit number of the pictures of thumbnail N.
thumbnail_picture_number() {
    printf '%02d' "${THUMBNAIL_PICTURE[$1]}"
}

# Clicks at a centre given as one "X Y" word pair.
click_at() {
    # shellcheck disable=SC2086
    click $1
}

move_to() {
    # shellcheck disable=SC2086
    move $1
}

# Starts the program from APP_DIR with ARGS and returns once the colouring
# screen shows drawing 01 and the start-up's second pause is over, so that
# the program only waits for events. Sets UI_SHOWN (seconds from launch to
# the main window).
start_program() {
    local app=$1
    shift
    UI_APP=$app
    start_app "$(app_command "$app")" "$@"
    wait_window "$MAIN_WINDOW"
    UI_SHOWN=$(elapsed_since "$APP_START")
    expect_canvas 30 "$app/PICTURE/01.GIF"
    # The second pause ends with the program waiting for input alone.
    wait_idle
}

# A stroke with the left button held: press at the first point, move in
# small steps through the others, release at the last.
#   stroke X1 Y1 X2 Y2 [X3 Y3 ...]
stroke() {
    local x=$1 y=$2
    shift 2
    xdotool mousemove --sync "$x" "$y" mousedown 1
    while [ $# -ge 2 ]; do
        local tx=$1 ty=$2 i
        shift 2
        # One movement event every eight pixels or so along the longer axis.
        local dx=$((tx > x ? tx - x : x - tx)) dy=$((ty > y ? ty - y : y - ty))
        local steps=$(((dx > dy ? dx : dy) / 8))
        [ "$steps" -ge 1 ] || steps=1
        for i in $(seq "$steps"); do
            xdotool mousemove --sync $((x + (tx - x) * i / steps)) $((y + (ty - y) * i / steps))
        done
        x=$tx
        y=$ty
    done
    xdotool mouseup 1
}

# Compares the canvas on a screenshot with what it must show: the GIF of a
# drawing with the given operations applied in order. Prints "ok" or what
# differs; the canvas is lossless, so the comparison is exact.
#   canvas_report SHOT GIF [OPERATION ...]
# Operations, in screen pixels:
#   fill:X,Y,R,G,B  the 4-connected region of the drawing's colour at X,Y,
#                   through exactly equal pixels, takes the colour R,G,B,
#                   unless it is an outline colour
#   line:R,G,B,X1,Y1,X2,Y2[,...]
#                   a pencil stroke through the points, each segment
#                   horizontal or vertical: the three rows (or columns)
#                   centred on it take the colour and the fourth on either
#                   side stays as it was; within two pixels of a point the
#                   shape of the round end is free
#   ignore:X,Y,W,H  a rectangle of the screen that something else covers
canvas_report() {
    "$UI_PY" - "$CANVAS_X" "$CANVAS_Y" "$CANVAS_W" "$CANVAS_H" "$@" <<'PY'
import sys
from PIL import Image

cx, cy, cw, ch = (int(v) for v in sys.argv[1:5])
shot_path, gif_path, operations = sys.argv[5], sys.argv[6], sys.argv[7:]
free = set()  # pixels whose expected value is left open

expected = Image.open(gif_path).convert("RGB")
if expected.size != (cw, ch):
    sys.exit("%s is %dx%d, not the canvas size" % (gif_path, *expected.size))
want = expected.load()

def flood(x, y, colour):
    seed = want[x, y]
    # Outline pixels (pure black and the nine darkest reds) never fill.
    if seed == colour or (seed[0] <= 9 and seed[1:] == (0, 0)):
        return
    todo = [(x, y)]
    while todo:
        px, py = todo.pop()
        if not (0 <= px < cw and 0 <= py < ch) or want[px, py] != seed:
            continue
        want[px, py] = colour
        todo += [(px + 1, py), (px - 1, py), (px, py + 1), (px, py - 1)]

for operation in operations:
    kind, _, args = operation.partition(":")
    values = [int(v) for v in args.split(",")]
    if kind == "fill":
        flood(values[0] - cx, values[1] - cy, tuple(values[2:5]))
    elif kind == "line":
        colour, points = tuple(values[:3]), values[3:]
        points = [(points[i] - cx, points[i + 1] - cy) for i in range(0, len(points), 2)]
        for (x1, y1), (x2, y2) in zip(points, points[1:]):
            if x1 != x2 and y1 != y2:
                sys.exit("only horizontal and vertical segments: " + operation)
            for x in range(min(x1, x2) - (x1 == x2), max(x1, x2) + 1 + (x1 == x2)):
                for y in range(min(y1, y2) - (y1 == y2), max(y1, y2) + 1 + (y1 == y2)):
                    if 0 <= x < cw and 0 <= y < ch:
                        want[x, y] = colour
        for px, py in points:
            free.update((px + dx, py + dy) for dx in range(-2, 3) for dy in range(-2, 3))
    elif kind == "ignore":
        x0, y0, w, h = values[0] - cx, values[1] - cy, values[2], values[3]
        free.update((x, y) for x in range(x0, x0 + w) for y in range(y0, y0 + h))
    else:
        sys.exit("unknown operation " + operation)

shot = Image.open(shot_path).convert("RGB").crop((cx, cy, cx + cw, cy + ch)).load()
wrong = [(x, y) for y in range(ch) for x in range(cw) if shot[x, y] != want[x, y] and (x, y) not in free]
if not wrong:
    print("ok")
else:
    x, y = wrong[0]
    print("%d canvas pixels differ, the first at screen %d,%d: %s instead of %s"
          % (len(wrong), x + cx, y + cy, shot[x, y], want[x, y]))
PY
}

# Waits until the canvas shows exactly what canvas_report expects.
#   expect_canvas SECONDS GIF [OPERATION ...]
expect_canvas() {
    local seconds=$1
    shift
    wait_until "$seconds" "canvas against $(basename "$1") ${*:2}" _canvas_is "$@"
}

_canvas_is() {
    local shot="$E2E_TMP/canvas.png" report
    screenshot "$shot"
    report=$(canvas_report "$shot" "$@")
    [ "$report" = ok ] || { echo "$report" >&2; return 1; }
}

# After an action that must change nothing on the screen: once the program
# has handled everything sent so far (the pointer moved onto a button shows
# its hover face, and moved off it its resting face), the action has been
# handled too, so what the screen shows then is its whole effect. The button
# is Papir on the colouring screen, Ne over the exit panel.
#   ui_settle X Y [papir|ne]   (X Y: where the pointer goes back to: a
#   spot on the frame for Papir, on the panel's picture for Ne)
ui_settle() {
    local x=$1 y=$2 rest hover centre geometry
    case ${3:-papir} in
    papir) rest=PAPIR1.JPG hover=PAPIR2.JPG centre=$PAPIR_C geometry="$PAPIR_X $PAPIR_Y $PAPIR_W $PAPIR_H" ;;
    ne) rest=NO1.JPG hover=NO2.JPG centre=$NE_C geometry="$NE_X $NE_Y $NE_W $NE_H" ;;
    *) fail "ui_settle: no button $3" ;;
    esac
    move_to "$centre"
    # shellcheck disable=SC2086
    wait_until 20 "the button never showed its hover face" _face_is "$hover" $geometry
    move "$x" "$y"
    # shellcheck disable=SC2086
    wait_until 20 "the button never rested again" _face_is "$rest" $geometry
}

_face_is() {
    local shot="$E2E_TMP/face.png"
    screenshot "$shot"
    local diff
    diff=$(region_difference "$shot" "$UI_APP/PICTURE/$1" "$2" "$3" "$4" "$5" 0 0)
    awk -v d="$diff" 'BEGIN { exit !(d <= 4) }' || { echo "$1 differs by $diff" >&2; return 1; }
}

# Frames the disk audio driver has written so far (16-bit stereo, so four
# bytes a frame); it writes at the device's pace while the device is open, so
# this is also a clock then. The device closes after a few seconds of
# silence, and the count stands still until the next sound.
readonly AUDIO_RATE=44100
audio_frames() {
    echo $(($(stat -c %s "$E2E_AUDIO" 2>/dev/null || echo 0) / 4))
}

# Waits until the device has written N more frames.
wait_audio_frames() {
    wait_until 60 "the audio device stopped writing" _audio_reached $(($(audio_frames) + $1))
}

_audio_reached() {
    [ "$(audio_frames)" -ge "$1" ]
}

# Peak level in dBFS of the output between two frame positions; -120 for
# digital silence.
audio_peak_db() {
    "$UI_PY" - "$E2E_AUDIO" "$1" "$2" <<'PY'
import array, math, sys
path, start, end = sys.argv[1], int(sys.argv[2]), int(sys.argv[3])
with open(path, "rb") as f:
    f.seek(start * 4)
    samples = array.array("h", f.read(max(0, end - start) * 4))
peak = max((abs(s) for s in samples), default=0)
print("%.1f" % (20 * math.log10(peak / 32768) if peak else -120.0))
PY
}

# expect_audio WHAT FROM TO above|below DBFS
expect_audio() {
    local what=$1 from=$2 to=$3 compare=$4 limit=$5 level
    level=$(audio_peak_db "$from" "$to")
    note "$what: peak $level dBFS"
    awk -v l="$level" -v m="$limit" -v c="$compare" 'BEGIN { exit !(c == "above" ? l > m : l < m) }' ||
        fail "$what: peak $level dBFS, expected $compare $limit dBFS"
}

# A copy of an application directory that a test may change: the programs
# are copied (they find their assets beside themselves) and the asset
# folders linked, except those named, which are copied too.
#   copy_app APP_DIR TARGET [FOLDER ...]
copy_app() {
    # Links must hold from anywhere, so the source is made absolute.
    local from to=$2
    from=$(cd "$1" && pwd)
    shift 2
    mkdir -p "$to"
    local entry name
    for entry in "$from"/*; do
        name=${entry##*/}
        if [ -d "$entry" ] && [[ " $* " != *" $name "* ]]; then
            ln -s "$entry" "$to/$name"
        else
            cp -r "$entry" "$to/"
        fi
    done
}

# Waits until keyboard_grab_status answers STATUS.
expect_grab_status() {
    wait_until "${2:-20}" "another client asking for the keyboard does not get $1" \
        output_is "$1" keyboard_grab_status
}
