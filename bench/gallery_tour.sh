#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Resident memory of the real program after a tour of the gallery: from the
# colouring screen, each of the 25 drawings is chosen in turn and two areas
# of it are filled in other colours (50 fills), as a child would go through
# the book. Prints, in kB, the peak resident size (VmHWM) and the resident
# size (VmRSS) after the start and after the tour:
#   start_hwm_kb=... start_rss_kb=... tour_hwm_kb=... tour_rss_kb=...
# usage: bench/gallery_tour.sh APP_DIR
here="$(cd "$(dirname "$0")" && pwd)"
source "$here/../tests/e2e/lib.sh"
source "$here/../tests/e2e/ui.sh"
app="$(cd "${1:?application directory}" && pwd)"
[ -x "$app/tintaro" ] || fail "no program at $app/tintaro"
e2e_init
ui_require
# The memory the program holds does not depend on where its sound goes, and
# the dummy driver does not keep a file growing.
export SDL_AUDIODRIVER=dummy
start_xvfb 1024x768x24

# Waits until the program has used no processor time for a while: the
# click's work, and the frame after it, are done.
wait_idle() {
    local deadline=$((SECONDS + 10)) last now quiet=0
    last=$(awk '{ print $14 + $15 }' "/proc/$APP_PID/stat")
    while [ "$SECONDS" -le "$deadline" ]; do
        sleep 0.1
        now=$(awk '{ print $14 + $15 }' "/proc/$APP_PID/stat")
        if [ "$now" = "$last" ]; then
            quiet=$((quiet + 1))
            [ "$quiet" -ge 2 ] && return 0
        else
            quiet=0
        fi
        last=$now
    done
    fail "the program did not come to rest within 10 s"
}

status_kb() {
    awk -v key="$2:" '$1 == key { print $2 }' "/proc/$1/status"
}

start_program "$app" --windowed
wait_idle
start_hwm=$(status_kb "$APP_PID" VmHWM)
start_rss=$(status_kb "$APP_PID" VmRSS)

for n in $(seq 25); do
    click_at "$MOREIMAGES_C"
    wait_idle
    read -r x y < <(thumbnail_origin "$n")
    click $((x + 65)) $((y + 61))
    wait_idle
    # Two fills: the ground near the top left corner and the middle of the
    # canvas, each in a colour of its own.
    click_at "$(palette_centre 2)"
    click $((CANVAS_X + 12)) $((CANVAS_Y + 12))
    wait_idle
    click_at "$(palette_centre 10)"
    click $((CANVAS_X + CANVAS_W / 2)) $((CANVAS_Y + CANVAS_H / 2))
    wait_idle
done

echo "start_hwm_kb=$start_hwm start_rss_kb=$start_rss tour_hwm_kb=$(status_kb "$APP_PID" VmHWM) tour_rss_kb=$(status_kb "$APP_PID" VmRSS)"
