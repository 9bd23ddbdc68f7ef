#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The two panels of the real program, full screen under openbox:
#  - Ctrl+X shows the exit panel over a frozen screen (a click on the canvas
#    beside it fills nothing); its no button closes it, and then a palette
#    click is heard and a fill paints in the new colour;
#  - Ctrl+R shows the information panel; each of its two web buttons
#    minimises the window (which lets go of the keyboard) and hands its
#    address to the user's browser, here a stand-in that xdg-open finds
#    through BROWSER, without waiting for it; brought back, the window
#    still shows the panel with both web buttons at rest, and its close
#    button returns to a usable screen.
#   panels.sh APP_DIR
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/ui.sh"
ui_start_test "${1:-}"
require_tools xdg-open xprop

drawing="$app/PICTURE/01.GIF"
belly="405 465" # the cat's belly, a closed area under the panels
cloud="650 160" # the cloud, a closed area beside them

# expect_panel PICTURE X Y W H: that part of a panel's picture is on screen.
expect_panel() {
    local picture=$1 x=$2 y=$3 w=$4 h=$5
    expect_screen_region 4 "$app/PICTURE/$picture" "$x" "$y" "$w" "$h" $((x - 312)) $((y - 259))
}

expect_window_state() {
    wait_until 20 "the window is not $1" output_is "$1" window_state "$WINDOW_ID"
}

# expect_opened N: the stand-in has been started N times so far; prints the
# last address.
browser_starts() {
    wc -l <"$opened" 2>/dev/null || echo 0
}

_browser_started() {
    [ "$(browser_starts)" -ge "$1" ] || { echo "started $(browser_starts) times" >&2; return 1; }
}

expect_opened() {
    local want=$1
    wait_until 20 "the browser was not started $want times" _browser_started "$want"
    [ "$(wc -l <"$opened")" -eq "$want" ] || fail "the browser was started $(wc -l <"$opened") times, expected $want"
    tail -n1 "$opened"
}

_web_buttons_rest() {
    _face_is VISIT1.JPG "$VISIT_SITE_X" "$VISIT_SITE_Y" "$VISIT_SITE_W" "$VISIT_SITE_H" &&
        _face_is CTRLR5821.JPG "$FIRMA_X" "$FIRMA_Y" "$FIRMA_W" "$FIRMA_H"
}

# A web button of the information panel: the window goes down and lets go
# of the keyboard, the browser gets one web address; then the window is
# brought back, as from a task bar, with the panel still up.
web_button() {
    local centre=$1 count=$2 url
    click_at "$centre"
    expect_window_state Iconic
    expect_keyboard free
    url=$(expect_opened "$count")
    [[ "$url" =~ ^https?://[^[:space:]]+$ ]] || fail "the browser got '$url', not one web address"
    # Meanwhile the pointer went elsewhere (to a spot of the background,
    # which rests neither web button); back in front, both rest.
    move 1010 20
    xdotool windowactivate "$WINDOW_ID"
    expect_window_state Normal
    expect_keyboard held
    expect_panel CTRL-R.JPG 312 259 300 136
    wait_until 20 "the web buttons still show their hover faces" _web_buttons_rest
    echo "$url"
}

start_xvfb 1024x768x24
start_wm
# xdg-open without a desktop environment falls back to $BROWSER once no
# handler for web addresses is registered; private data and configuration
# folders make sure that none is.
unset XDG_CURRENT_DESKTOP XDG_SESSION_DESKTOP DESKTOP_SESSION KDE_FULL_SESSION GNOME_DESKTOP_SESSION_ID
export XDG_DATA_HOME="$E2E_TMP/home/.local/share" XDG_CONFIG_HOME="$E2E_TMP/home/.config"
export XDG_DATA_DIRS="$E2E_TMP/share" XDG_CONFIG_DIRS="$E2E_TMP/etc"
mkdir -p "$XDG_DATA_HOME" "$XDG_CONFIG_HOME" "$XDG_DATA_DIRS" "$XDG_CONFIG_DIRS"
# The stand-in browser notes its address and its process id and stays, as a
# browser would, until the test ends it; the program must go on meanwhile.
opened="$E2E_TMP/opened" browsers="$E2E_TMP/browsers"
export BROWSER="$E2E_TMP/browser"
# It ends with success when stopped: xdg-open tries a failed browser again.
cat >"$BROWSER" <<EOF
#!/bin/sh
echo "\$*" >>"$opened"
sleep 60 &
echo \$! >>"$browsers"
wait
exit 0
EOF
chmod +x "$BROWSER"

start_program "$app"
read -r x y w h < <(window_geometry)
[ "$x $y $w $h" = "0 0 1024 768" ] || fail "window at $x,$y ${w}x${h}, expected the whole screen"

# The exit panel freezes the screen; no closes it.
keys ctrl+x
expect_panel CTRLX.JPG 312 259 400 150
click_at "$cloud"
ui_settle 512 300 ne
expect_canvas 0 "$drawing" ignore:312,259,400,250
click_at "$NE_C"
expect_canvas 20 "$drawing" # the panel is gone
before=$(audio_frames)
click_at "$(palette_centre 2)"
wait_audio_frames $((AUDIO_RATE))
expect_audio "palette click after the exit panel" "$before" $((before + AUDIO_RATE)) above -45
click_at "$belly"
expect_canvas 20 "$drawing" "fill:${belly/ /,},${GREEN// /,}"

# The information panel and its two web buttons.
keys ctrl+r
expect_panel CTRL-R.JPG 312 259 300 136
product=$(web_button "$VISIT_C" 1)
maker=$(web_button "$FIRMA_C" 2)
[ "$product" != "$maker" ] || fail "both buttons open $product"
note "product page $product, maker page $maker"
# Both browsers still run: the program went on without waiting for them.
for pid in $(cat "$browsers"); do
    kill -0 "$pid" 2>/dev/null || fail "a stand-in browser ($pid) has ended early"
done
click_at "$ZATVORI_C"
expect_canvas 20 "$drawing" "fill:${belly/ /,},${GREEN// /,}"
click_at "$cloud"
expect_canvas 20 "$drawing" "fill:${belly/ /,},${GREEN// /,}" "fill:${cloud/ /,},${GREEN// /,}"

# When the browsers end, the program reaps what it started for them; then
# out through the exit panel.
for pid in $(cat "$browsers"); do
    kill "$pid"
done
wait_until 20 "processes left after the browsers ended" _session_empty
expect_no_zombie
keys ctrl+x
expect_panel CTRLX.JPG 312 259 400 150
click_at "$DA_C"
expect_exit "$APP_PID" 0
expect_no_process_left
pass
