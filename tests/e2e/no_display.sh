#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Without a usable display (a text console, a remote shell) the program says
# so in one plain line on standard error and ends with a non-zero status,
# before it opens the sound device or starts anything: with no display named
# at all, and with a named display that does not answer.
#   no_display.sh APP_DIR
source "$(dirname "$0")/lib.sh"
app=${1:?application directory}
[ -x "$app/tintaro" ] || fail "no program at $app/tintaro"
e2e_init
program=$(app_command "$app")

# A display number with no server behind it.
silent=99
while [ -e "/tmp/.X11-unix/X$silent" ] || [ -e "/tmp/.X$silent-lock" ]; do
    silent=$((silent + 1))
done

check() {
    local label=$1
    shift
    local out="$E2E_TMP/$label.out" err="$E2E_TMP/$label.err" status=0
    # A file of its own for the disk audio driver: it exists once the device opens.
    local audio="$HOME/$label.audio"
    "${AS_APP_USER[@]}" env "$@" SDL_DISKAUDIOFILE="$audio" "$program" >"$out" 2>"$err" &
    local pid=$!
    wait_until 20 "$label: the program still runs" _ended "$pid"
    wait "$pid" || status=$?
    [ "$status" -ne 0 ] || fail "$label: exit status 0"
    [ ! -s "$out" ] || fail "$label: wrote to standard output: $(head -c 200 "$out")"
    [ "$(wc -l <"$err")" -eq 1 ] || fail "$label: $(wc -l <"$err") lines on standard error: $(head -c 400 "$err")"
    grep -q '^tintaro: .*display' "$err" || fail "$label: the line does not name the display: $(cat "$err")"
    [ ! -e "$audio" ] || fail "$label: the sound device was opened"
    note "$label: status $status: $(cat "$err")"
}

_ended() {
    ! process_runs "$1"
}

check unset -u DISPLAY -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER
check unanswered -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER DISPLAY=":$silent"
pass
