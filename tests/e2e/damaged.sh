#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Damaged and hostile pictures of the right length in the real program, so
# the length check passes them: the start drawing with the one changed byte
# that brought down the GIF reader used before, and the colouring screen's
# background and drawing 02 each claiming 60000 x 60000 pixels. The program
# starts and shows what it can read: a blank canvas on its own grey; a fill
# paints; the hostile drawing chosen in the gallery leaves the gallery open,
# and the next choice works; the exit panel ends the program with status 0.
# The memory the program reached is noted.
#   damaged.sh APP_DIR
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/ui.sh"
ui_start_test "${1:-}"

bad="$E2E_TMP/damaged"
copy_app "$app" "$bad" PICTURE
"$UI_PY" - "$bad/PICTURE" <<'PY'
import struct, sys
folder = sys.argv[1]

def patch(name, change):
    path = folder + "/" + name
    data = bytearray(open(path, "rb").read())
    length = len(data)
    change(data)
    assert len(data) == length
    open(path, "wb").write(data)

def flip_238(data):
    data[238] ^= 0xFF

def gif_claims_huge(data):
    data[6:10] = struct.pack("<HH", 60000, 60000)
    at = 13 + (3 << ((data[10] & 7) + 1) if data[10] & 0x80 else 0)
    while data[at] == 0x21:  # extensions before the image
        at += 2
        while data[at]:
            at += data[at] + 1
        at += 1
    assert data[at] == 0x2C
    data[at + 5:at + 9] = struct.pack("<HH", 60000, 60000)

def jpeg_claims_huge(data):
    at = 2
    while not (0xC0 <= data[at + 1] <= 0xCF and data[at + 1] not in (0xC4, 0xC8, 0xCC)):
        at += 2 + struct.unpack(">H", data[at + 2:at + 4])[0]
    data[at + 5:at + 9] = struct.pack(">HH", 60000, 60000)

patch("01.GIF", flip_238)
patch("02.GIF", gif_claims_huge)
patch("GLAVNA.JPG", jpeg_claims_huge)
PY

start_xvfb 1024x768x24
start_app "$bad/tintaro"
wait_window "$MAIN_WINDOW"
# The blank canvas and the window's own grey where the background would be.
expect_canvas 30 "$app/PICTURE/00.GIF"
screenshot "$E2E_TMP/start.png"
expect_pixel "$E2E_TMP/start.png" 900 100 "240 240 240"
# The start-up's second pause ends with the program waiting for input alone.
wait_idle

# A fill paints the blank page in the current colour, red.
click 300 300
expect_canvas 20 "$app/PICTURE/00.GIF" "fill:300,300,255,0,0"

# The hostile drawing 02 leaves the gallery open; drawing 03 beside it comes.
click_at "$MOREIMAGES_C"
read -r x y < <(thumbnail_origin 2)
click $((x + 65)) $((y + 61))
read -r x y < <(thumbnail_origin 3)
click $((x + 65)) $((y + 61))
expect_canvas 20 "$app/PICTURE/03.GIF"
note "the program reached $(vmhwm_kb "$APP_PID") kB"

keys ctrl+x
expect_screen_region 4 "$app/PICTURE/CTRLX.JPG" 312 259 400 150 0 0
click_at "$DA_C"
expect_exit "$APP_PID" 0
expect_no_process_left
pass
