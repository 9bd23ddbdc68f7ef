#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Ctrl+P in the real program, printed through a real CUPS to a cups-pdf
# queue: the notice shows for three seconds, then one page arrives whose
# picture, rendered back, is the canvas as shown, at the top left corner.
#
#   print.sh APP_DIR
# Needs root: it starts cupsd if none runs, and points cups-pdf at a test
# folder for the time of the test.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/ui.sh"

app_dir=$(cd "$1" && pwd) || fail "no application directory $1"
[ -x "$app_dir/tintaro" ] || fail "no program in $app_dir"
if [ "$(id -u)" -ne 0 ]; then
    echo "SKIP: print.sh needs root to run cupsd and set up the queue" >&2
    exit 77
fi
[ -x /usr/sbin/cupsd ] || fail "cupsd is not installed (run scripts/install-deps)"
[ -f /etc/cups/cups-pdf.conf ] || fail "cups-pdf is not installed (run scripts/install-deps)"

readonly canvas_x=$CANVAS_X canvas_y=$CANVAS_Y
readonly notice_x=$PRINTPICT_X notice_y=$PRINTPICT_Y notice_w=$PRINTPICT_W notice_h=$PRINTPICT_H

e2e_init
require_tools lpadmin lpstat cupsenable cupsaccept pdftoppm pdfinfo

# Everything changed on the system is put back on exit.
cupsd_pid=""
queue_created=""
previous_default=""
cp /etc/cups/cups-pdf.conf "$E2E_TMP/cups-pdf.conf.saved"
restore_cups() {
    local status=$?
    set +e
    cp "$E2E_TMP/cups-pdf.conf.saved" /etc/cups/cups-pdf.conf
    [ -n "$queue_created" ] && lpadmin -x PDF
    [ -n "$previous_default" ] && lpadmin -d "$previous_default"
    [ -n "$cupsd_pid" ] && kill "$cupsd_pid" && wait "$cupsd_pid"
    (exit "$status")
    _e2e_cleanup
}
trap restore_cups EXIT

out="$E2E_TMP/pdf"
mkdir -p "$out"
chmod 0777 "$out"
sed -i "s|^#\\?Out .*|Out $out|" /etc/cups/cups-pdf.conf

_cups_running() {
    lpstat -r 2>/dev/null | grep -q "is running"
}

if ! _cups_running; then
    /usr/sbin/cupsd -f >"$E2E_TMP/cupsd.log" 2>&1 &
    cupsd_pid=$!
    wait_until 30 "cupsd did not start: $(cat "$E2E_TMP/cupsd.log")" _cups_running
fi
previous_default=$(lpstat -d 2>/dev/null | sed -n 's/^system default destination: //p')
if ! lpstat -p PDF >/dev/null 2>&1; then
    lpadmin -p PDF -v cups-pdf:/ -m lsb/usr/cups-pdf/CUPS-PDF_opt.ppd -E 2>/dev/null || fail "cannot create the PDF queue"
    queue_created=1
fi
cupsenable PDF
cupsaccept PDF
lpadmin -d PDF

start_xvfb

# Jobs CUPS knows of, finished or not, as a count.
job_count() {
    { lpstat -W all -o PDF 2>/dev/null || true; } | grep -c '^PDF-' || true
}

_colouring_screen_shown() {
    local shot="$E2E_TMP/ready.png"
    screenshot "$shot"
    [ "$(count_colour "$shot" $canvas_x $canvas_y "$CANVAS_W" "$CANVAS_H" "255 255 255" 8)" -gt 200000 ]
}

# The notice's rectangle differs from the picture before Ctrl+P (or not).
_notice_region_differs() {
    local shot="$E2E_TMP/notice.png" diff
    screenshot "$shot"
    diff=$(region_difference "$shot" "$E2E_TMP/coloured.png" $notice_x $notice_y $notice_w $notice_h)
    awk -v d="$diff" 'BEGIN { exit !(d > 20) }' || { echo "the region differs by $diff" >&2; return 1; }
}

_notice_gone() {
    ! _notice_region_differs 2>/dev/null
}

_job_arrived() {
    [ "$(job_count)" -gt "$jobs_before" ]
}

# A PDF that cups-pdf has finished writing, other than EXCEPT: it reads as
# one whole document.
#   _pdf_written [EXCEPT]
_pdf_written() {
    local pdf
    pdf=$(find "$out" -name '*.pdf' -size +0 ! -path "${1:-}" | head -n1)
    [ -n "$pdf" ] && pdfinfo "$pdf" >/dev/null 2>&1 && echo "$pdf"
}

start_app "$(app_command "$app_dir")" --windowed
wait_window Tintaro
wait_until 30 "the colouring screen did not appear" _colouring_screen_shown
# Start-up ends with a three-second pause; the fill sound and the notice are
# easier to tell apart once it is over.
wait_idle

# Colour the background near the canvas's top left corner with the current
# colour (red at start): a white pixel with white all around.
screenshot "$E2E_TMP/before.png"
fill_x="" fill_y=""
for y in 40 60 80 100; do
    for x in 40 60 80 100; do
        if [ "$(count_colour "$E2E_TMP/before.png" $((x - 3)) $((y - 3)) 7 7 "255 255 255" 0)" -eq 49 ]; then
            fill_x=$x fill_y=$y
            break 2
        fi
    done
done
[ -n "$fill_x" ] || fail "no white area near the canvas's top left corner"
click "$fill_x" "$fill_y"
_coloured() {
    screenshot "$E2E_TMP/coloured.png"
    ! colour_near "$(pixel "$E2E_TMP/coloured.png" "$fill_x" "$fill_y")" "255 255 255" 8
}
wait_until 20 "the click at $fill_x,$fill_y did not colour the area" _coloured
coloured=$(pixel "$E2E_TMP/coloured.png" "$fill_x" "$fill_y")
note "coloured at $fill_x,$fill_y: $coloured"

jobs_before=$(job_count)
pressed=$(now)
keys ctrl+p

# The notice: its rectangle changes while it shows, and is back as before
# three seconds later.
wait_until 20 "no printing notice" _notice_region_differs

wait_until 60 "no job reached CUPS" _job_arrived
reached=$(elapsed_since "$pressed")
note "the job reached CUPS ${reached} s after Ctrl+P, $(awk -v t="$reached" 'BEGIN { printf "%.3f", t - 3 }') s after the notice's three seconds"
awk -v t="$reached" 'BEGIN { exit !(t >= 2.9) }' || fail "the job came before the notice's three seconds (${reached} s)"

wait_until 20 "the printing notice stays" _notice_gone
screenshot "$E2E_TMP/after.png"
expect_region_like 2 "$E2E_TMP/after.png" "$E2E_TMP/coloured.png" $notice_x $notice_y $notice_w $notice_h
# The canvas looks the same after printing as before.
expect_region_like 0 "$E2E_TMP/after.png" "$E2E_TMP/coloured.png" $canvas_x $canvas_y "$CANVAS_W" "$CANVAS_H"

wait_until 120 "no whole PDF arrived in $out" _pdf_written
pdf=$WAIT_OUTPUT
note "the PDF arrived $(elapsed_since "$pressed") s after Ctrl+P"
pdfinfo "$pdf" | grep -q '^Pages: *1$' || fail "the PDF does not have exactly one page"

# At 96 pixels per inch a pixel of the picture is a pixel of the render. The
# queue prints to the edge, so the picture starts at the page's corner.
pdftoppm -r 96 -singlefile -png "$pdf" "$E2E_TMP/page"
page="$E2E_TMP/page.png"
expect_pixel "$page" $((fill_x - canvas_x)) $((fill_y - canvas_y)) "$coloured" 12
expect_region_like 6 "$page" "$E2E_TMP/coloured.png" 0 0 "$CANVAS_W" "$CANVAS_H" $canvas_x $canvas_y
# Nothing is printed beyond the picture.
blank=$(count_colour "$page" 752 0 30 600 "255 255 255" 3)
[ "$blank" -eq 18000 ] || fail "marks beside the picture: only $blank of 18000 pixels are white"

# A second print: the page shows the canvas as it was at Ctrl+P, though the
# same area is coloured green while the notice shows (the canvas keeps the
# green); and a temporary left in the scratch folder by a program killed
# while writing it is gone once the print has written the scratch file.
scratch_dir="$app_dir/MY_PICTURE"
[ -f "$scratch_dir/01.GIF" ] || scratch_dir="$XDG_CACHE_HOME/tintaro/MY_PICTURE"
[ -f "$scratch_dir/01.GIF" ] || fail "no scratch file after the first print"
leftover="$scratch_dir/.01.GIF.Kx7Qp2"
printf 'half a picture' >"$leftover"
_leftover_gone() {
    [ ! -e "$leftover" ]
}
_recoloured() {
    screenshot "$E2E_TMP/during.png"
    ! colour_near "$(pixel "$E2E_TMP/during.png" "$fill_x" "$fill_y")" "$coloured" 8
}
first_pdf=$pdf
keys ctrl+p
wait_until 20 "no printing notice for the second print" _notice_region_differs
wait_until 20 "the leftover temporary $leftover is still there" _leftover_gone
click_at "$(palette_centre 2)"
click "$fill_x" "$fill_y"
wait_until 20 "the fill during the notice did not colour the area" _recoloured
green=$(pixel "$E2E_TMP/during.png" "$fill_x" "$fill_y")
# The notice still showed when the area turned green.
expect_region_like 4 "$E2E_TMP/during.png" "$app_dir/PICTURE/PRINTING.JPG" $notice_x $notice_y $notice_w $notice_h 0 0
# The page comes after the notice has gone.
wait_until 120 "no second whole PDF arrived in $out" _pdf_written "$first_pdf"
pdftoppm -r 96 -singlefile -png "$WAIT_OUTPUT" "$E2E_TMP/page2"
expect_pixel "$E2E_TMP/page2.png" $((fill_x - canvas_x)) $((fill_y - canvas_y)) "$coloured" 12
expect_region_like 6 "$E2E_TMP/page2.png" "$E2E_TMP/coloured.png" 0 0 "$CANVAS_W" "$CANVAS_H" $canvas_x $canvas_y
screenshot "$E2E_TMP/after2.png"
expect_pixel "$E2E_TMP/after2.png" "$fill_x" "$fill_y" "$green" 0
pass
