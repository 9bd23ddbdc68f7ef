#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The gallery in the real program: a click on the more-pictures button opens
# it with all 25 plain thumbnails; the thumbnail under the pointer shows its
# yellow card and its neighbours stay white; a click on thumbnail 7 puts
# drawing 07 on the canvas, untouched; after colouring it, the eraser wipes
# the canvas and brings drawing 07 back as it was; the next opening shows
# every thumbnail plain again, and the back button returns to the colouring
# screen as it was left.
#   gallery.sh APP_DIR
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/ui.sh"
ui_start_test "${1:-}"
start_xvfb 1024x768x24

pic="$app/PICTURE"
jpeg_limit=4 # mean difference allowed between two decoders of one JPEG

thumbnail_centre() {
    local x y
    read -r x y < <(thumbnail_origin "$1")
    echo "$((x + GALERIJA1_W / 2)) $((y + GALERIJA1_H / 2))"
}

# thumbnail_like SHOT N BELE|ZUTE: thumbnail N shows its plain or yellow card.
thumbnail_like() {
    local x y
    read -r x y < <(thumbnail_origin "$2")
    expect_region_like "$jpeg_limit" "$1" "$pic/GALERIJA1${3}_$(thumbnail_picture_number "$2").JPG" "$x" "$y" "$GALERIJA1_W" "$GALERIJA1_H" 0 0
}

# The two cards of a thumbnail must be far apart for the checks to mean
# anything.
cards=$(region_difference "$pic/GALERIJA1BELE_21.JPG" "$pic/GALERIJA1ZUTE_21.JPG" 0 0 "$GALERIJA1_W" "$GALERIJA1_H")
awk -v d="$cards" -v l="$jpeg_limit" 'BEGIN { exit !(d > 5 * l) }' || fail "the plain and yellow cards of thumbnail 7 differ by only $cards"

# expect_gallery SHOT [HIGHLIGHTED]: the gallery background, the back button
# and the 25 thumbnails, all plain but the one named.
expect_gallery() {
    local shot=$1 lit=${2:-0} n
    expect_region_like "$jpeg_limit" "$shot" "$pic/BACK1.JPG" 30 0 192 40 0 0
    expect_region_like "$jpeg_limit" "$shot" "$pic/GALERIJA.JPG" 760 40 264 728
    expect_region_like "$jpeg_limit" "$shot" "$pic/GALERIJA.JPG" 222 0 802 48
    for n in $(seq 25); do
        if [ "$n" -eq "$lit" ]; then
            thumbnail_like "$shot" "$n" ZUTE
        else
            thumbnail_like "$shot" "$n" BELE
        fi
    done
}

# Waits until the screen shows the gallery with thumbnail HIGHLIGHTED lit.
#   wait_gallery NAME [HIGHLIGHTED]
wait_gallery() {
    wait_until 30 "the gallery as expected ($1)" _gallery_shows "$E2E_TMP/$1.png" "${2:-0}"
}

_gallery_shows() {
    screenshot "$1"
    expect_gallery "$1" "$2"
}

# The colouring screen after Back: its buttons at rest, blue still chosen.
_back_as_left() {
    screenshot "$1"
    expect_region_like "$jpeg_limit" "$1" "$pic/GLAVNA.JPG" 0 0 1024 29
    expect_region_like "$jpeg_limit" "$1" "$pic/MOREIMAGES1.JPG" 832 241 160 169 0 0
    expect_region_like "$jpeg_limit" "$1" "$pic/GUMICA1.JPG" 825 412 111 61 0 0
    expect_region_like "$jpeg_limit" "$1" "$pic/BOJE3_10.JPG" 764 675 84 85 0 0
    expect_region_like "$jpeg_limit" "$1" "$pic/BOJE1_01.JPG" 8 675 85 85 0 0
}

start_program "$app" --windowed

# Open the gallery; the pointer rests on the background there.
click_at "$MOREIMAGES_C"
move 900 700
wait_gallery gallery

# Hovering thumbnail 7 gives it the yellow card.
move_to "$(thumbnail_centre 7)"
wait_gallery hover7 7

# Straight on to thumbnail 8: 8 turns yellow, 7 white again.
move_to "$(thumbnail_centre 8)"
wait_gallery hover8 8

# A click on thumbnail 7 shows drawing 07 as its GIF has it.
click_at "$(thumbnail_centre 7)"
expect_canvas 20 "$pic/07.GIF"

# Colour it: the star red (the colour at start), the water blue.
star="430 497" water="330 409"
click_at "$star"
click_at "$(palette_centre 10)"
click_at "$water"
coloured=("fill:${star/ /,},${RED// /,}" "fill:${water/ /,},${BLUE// /,}")
expect_canvas 20 "$pic/07.GIF" "${coloured[@]}"

# The eraser: the wipe takes about a second or one and a half, then drawing
# 07 is back untouched.
click_at "$RUBBER_C"
expect_canvas 30 "$pic/07.GIF"

# Reopened, the gallery shows every card plain, thumbnail 7 too although it
# was under the pointer when the gallery was left.
click_at "$MOREIMAGES_C"
move 900 700
wait_gallery reopened

# Back returns to the colouring screen with drawing 07 on the canvas, its
# buttons at rest and blue still the chosen colour.
click_at "$BACK_C"
move 800 20
expect_canvas 20 "$pic/07.GIF"
wait_until 20 "the colouring screen as it was left" _back_as_left "$E2E_TMP/back.png"

kill -TERM "$APP_PID"
expect_exit "$APP_PID" 0
expect_no_process_left
pass
