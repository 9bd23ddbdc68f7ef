#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# COLORS.EXE shows its splash centred for about three seconds, ends by itself
# with status 0 and leaves nothing behind; the picture is compiled in, so a
# damaged file of its name beside it changes nothing; without a display it
# still ends at once with status 0.
#   companion.sh PATH/TO/COLORS.EXE
source "$(dirname "$0")/lib.sh"
companion=${1:?path to COLORS.EXE}
splash="$(cd "$(dirname "$0")/../.." && pwd)/assets/UI/SPLASH.png"
e2e_init

app="$E2E_TMP/app"
mkdir -p "$app/UI"
cp "$companion" "$app/COLORS.EXE"
# The splash picture as it was once read from here, with the length of its
# second chunk made enormous: enough to send a PNG reader round for ever.
cp "$splash" "$app/UI/SPLASH.png"
printf '\x7f' | dd of="$app/UI/SPLASH.png" bs=1 seek=33 conv=notrunc status=none

start_xvfb 1024x768x24
start_app "$app/COLORS.EXE"
wait_window Tintaro
read -r x y w h < <(window_geometry)
[ "$w $h" = "600 400" ] || fail "splash window is ${w}x${h}, expected 600x400"
[ "$x $y" = "212 184" ] || fail "splash window at $x,$y, expected centred at 212,184"
_splash_drawn() {
    screenshot "$E2E_TMP/splash.png"
    expect_region_like 2 "$E2E_TMP/splash.png" "$splash" 212 184 600 400 0 0
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

# No display at all.
DISPLAY=:99999 start_app "$app/COLORS.EXE"
expect_exit "$APP_PID" 0
pass
