#!/usr/bin/env bash
# COLORS.EXE shows its splash centred for about three seconds, ends by itself
# with status 0 and leaves nothing behind; without a picture or a display it
# still ends at once with status 0.
#   companion.sh PATH/TO/COLORS.EXE
source "$(dirname "$0")/lib.sh"
companion=${1:?path to COLORS.EXE}
e2e_init

app="$E2E_TMP/app"
mkdir -p "$app/UI"
cp "$companion" "$app/COLORS.EXE"
# A 600 x 400 splash: orange on the left, teal on the right.
convert -size 300x400 xc:'#FF8000' -size 300x400 xc:'#008080' +append "$app/UI/SPLASH.png"

start_xvfb 1024x768x24
start_app "$app/COLORS.EXE"
wait_window Tintaro
read -r x y w h < <(window_geometry)
[ "$w $h" = "600 400" ] || fail "splash window is ${w}x${h}, expected 600x400"
[ "$x $y" = "212 184" ] || fail "splash window at $x,$y, expected centred at 212,184"
_splash_drawn() {
    screenshot "$E2E_TMP/splash.png"
    expect_pixel "$E2E_TMP/splash.png" 300 384 "255 128 0"
    expect_pixel "$E2E_TMP/splash.png" 724 384 "0 128 128"
    expect_pixel "$E2E_TMP/splash.png" 100 100 "0 0 0"
}
wait_until 20 "the splash picture is not drawn" _splash_drawn
expect_exit "$APP_PID" 0
# The splash stays its three seconds (measured on the monotonic clock, so a
# slow machine only makes it longer).
shown=$(elapsed_since "$APP_START")
awk -v s="$shown" 'BEGIN { exit !(s >= 2.9) }' || fail "splash lasted only ${shown}s, expected three"
expect_no_process_left
note "splash shown for ${shown}s"

# No picture: nothing to show, ends at once.
rm "$app/UI/SPLASH.png"
start_app "$app/COLORS.EXE"
expect_exit "$APP_PID" 0
xdotool search --onlyvisible --name Tintaro >/dev/null 2>&1 && fail "a window appeared without a picture"

# No display at all.
convert -size 60x40 xc:white "$app/UI/SPLASH.png"
DISPLAY=:99999 start_app "$app/COLORS.EXE"
expect_exit "$APP_PID" 0
pass
