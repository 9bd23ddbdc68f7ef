#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# A monkey at the real program, full screen: bursts of random pointer
# movements, clicks, drags and keys (the guard's keys Super, Menu and every
# Alt combination, Escape, Alt+F4, the shortcuts Ctrl+X, Ctrl+R and Ctrl+P,
# letters and function keys), with printing going nowhere (no print server)
# and the web pages to a stand-in browser. After every burst the program
# still runs, shows exactly one of its two screens, and answers Ctrl+X with
# the exit panel and the no button by closing it; at the end its yes button
# ends it with status 0 (under the sanitizers: no leak either), nothing is
# left and the keyboard is free.
#
# The events are drawn from a fixed seed, printed, so a failure can be
# replayed. The only click the monkey never makes is on the exit panel's
# yes button, which would end the run.
#   monkey.sh APP_DIR
# TINTARO_MONKEY_EVENTS: events in all (default 2000);
# TINTARO_MONKEY_SEED: the seed (default 20240613).
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/ui.sh"
app=${1:?application directory}
[ -x "$app/tintaro" ] || fail "no program at $app/tintaro"
events=${TINTARO_MONKEY_EVENTS:-2000}
seed=${TINTARO_MONKEY_SEED:-20240613}
burst=200
e2e_init
ui_require
require_tools python3
note "monkey seed $seed, $events events in bursts of $burst"

# Nothing to hear, nothing to print: the dummy audio device plays in real
# time without writing anything, and a print server address that does not
# exist makes every print fail at once.
export SDL_AUDIODRIVER=dummy
export CUPS_SERVER="$E2E_TMP/no-print-server"
mkdir -p "$E2E_TMP/bin"
cat >"$E2E_TMP/bin/xdg-open" <<EOF
#!/bin/sh
echo "\$1" >>"$E2E_TMP/opened"
EOF
chmod +x "$E2E_TMP/bin/xdg-open"
export PATH="$E2E_TMP/bin:$PATH"

pic="$app/PICTURE"

# like SHOT PICTURE X Y W H: that region of the screen shows the same part
# of the window-sized picture (mean difference within what two JPEG
# decoders give).
like() {
    local diff
    diff=$(region_difference "$1" "$2" "$3" "$4" "$5" "$6")
    awk -v d="$diff" 'BEGIN { exit !(d <= 4) }'
}

# The upper part of a panel picture at the panels' place (the buttons cover
# the lower part).
panel_like() {
    local diff
    diff=$(region_difference "$1" "$pic/$2" 312 259 400 130 0 0)
    awk -v d="$diff" 'BEGIN { exit !(d <= 4) }'
}

# What the screen shows now: SCREEN and PANEL.
look() {
    local shot="$E2E_TMP/monkey.png" colouring=0 gallery=0
    screenshot "$shot"
    # The strips above the canvas and above the thumbnails are never
    # covered, by a panel or anything else.
    like "$shot" "$pic/GLAVNA.JPG" 0 0 1024 29 && colouring=1
    like "$shot" "$pic/GALERIJA.JPG" 222 0 802 48 && gallery=1
    case "$colouring$gallery" in
    10) SCREEN=colouring ;;
    01) SCREEN=gallery ;;
    11) SCREEN=both ;;
    *) SCREEN=none ;;
    esac
    PANEL=none
    if panel_like "$shot" CTRLX.JPG; then
        PANEL=exit
    elif panel_like "$shot" CTRL-R.JPG; then
        PANEL=info
    elif panel_like "$shot" PRINTING.JPG; then
        PANEL=printing
    fi
}

# Whatever the burst started (a wipe, a print's pause, events still queued)
# has played out: the main thread sleeps in its event wait (with a limit
# while the music's tick runs) and two screenshots a moment apart are the
# same.
at_rest() {
    local a="$E2E_TMP/rest-a.ppm" b="$E2E_TMP/rest-b.ppm" differing call
    read -r call _ <"/proc/$APP_PID/task/$APP_PID/syscall" || return 1
    [ "$call" = 7 ] || [ "$call" = 271 ] || [ "$call" = 73 ] || { echo "the main thread is busy" >&2; return 1; }
    import -window root "$a" 2>/dev/null || return 1
    sleep 0.2
    import -window root "$b" 2>/dev/null || return 1
    differing=$({ compare -metric AE "$a" "$b" null: 2>&1 || true; } | awk '{ print $1 }')
    [ "$differing" = 0 ] || { echo "the screen still changes" >&2; return 1; }
}

alive() {
    kill -0 "$APP_PID" 2>/dev/null && [ "$(ps -o stat= -p "$APP_PID" | cut -c1)" != Z ] ||
        fail "the program ended during burst $1: $(tail -n20 "$E2E_TMP/app.log" | tr '\n' '|')"
}

exit_panel_up() {
    look
    [ "$PANEL" = exit ]
}

exit_panel_down() {
    look
    [ "$PANEL" != exit ]
}

# One step, once the screen is at rest, towards where a parent's Ctrl+X
# must reach the program: no panel open, the colouring screen shown and the
# focus on a control with a key handler (a palette button); succeeds when
# it got there. A click on a thumbnail, the back button or a panel's button
# takes the keys away by design (none of them has a key handler).
settled() {
    wait_until 30 "the screen never came to rest" at_rest
    look
    case $PANEL in
    exit) click_at "$NE_C" ;;
    info) click_at "$ZATVORI_C" ;;
    printing) ;;
    none)
        if [ "$SCREEN" = gallery ]; then
            click_at "$BACK_C"
        else
            click_at "$(palette_centre 1)"
            return 0
        fi
        ;;
    esac
    return 1
}

# One burst of random events through XTest.
monkey_burst() {
    "$UI_PY" - "$seed" "$1" "$burst" <<'PY'
import ctypes, ctypes.util, os, random, sys, time

seed, index, count = int(sys.argv[1]), int(sys.argv[2]), int(sys.argv[3])
rng = random.Random(seed * 1000003 + index)
x = ctypes.cdll.LoadLibrary(ctypes.util.find_library("X11") or "libX11.so.6")
xt = ctypes.cdll.LoadLibrary(ctypes.util.find_library("Xtst") or "libXtst.so.6")
x.XOpenDisplay.restype = ctypes.c_void_p
x.XOpenDisplay.argtypes = [ctypes.c_char_p]
x.XStringToKeysym.restype = ctypes.c_ulong
x.XStringToKeysym.argtypes = [ctypes.c_char_p]
x.XKeysymToKeycode.restype = ctypes.c_ubyte
x.XKeysymToKeycode.argtypes = [ctypes.c_void_p, ctypes.c_ulong]
x.XFlush.argtypes = [ctypes.c_void_p]
x.XSync.argtypes = [ctypes.c_void_p, ctypes.c_int]
xt.XTestFakeMotionEvent.argtypes = [ctypes.c_void_p, ctypes.c_int, ctypes.c_int, ctypes.c_int, ctypes.c_ulong]
xt.XTestFakeButtonEvent.argtypes = [ctypes.c_void_p, ctypes.c_uint, ctypes.c_int, ctypes.c_ulong]
xt.XTestFakeKeyEvent.argtypes = [ctypes.c_void_p, ctypes.c_uint, ctypes.c_int, ctypes.c_ulong]
d = x.XOpenDisplay(os.environ["DISPLAY"].encode())
if not d:
    sys.exit("cannot open display")

def code(name):
    c = x.XKeysymToKeycode(d, x.XStringToKeysym(name.encode()))
    if not c:
        sys.exit("no key for " + name)
    return c

def on_yes(px, py):
    # The exit panel's yes button, with a margin.
    return 360 <= px <= 483 and 401 <= py <= 467

def point():
    while True:
        px, py = rng.randrange(1024), rng.randrange(768)
        if not on_yes(px, py):
            return px, py

def move(px, py):
    xt.XTestFakeMotionEvent(d, -1, px, py, 0)

def press(keys):
    for k in keys:
        xt.XTestFakeKeyEvent(d, code(k), 1, 0)
    for k in reversed(keys):
        xt.XTestFakeKeyEvent(d, code(k), 0, 0)

letters = [chr(c) for c in range(ord("a"), ord("z") + 1)] + [str(n) for n in range(10)]
plain = letters + ["Escape", "Return", "space", "Tab", "BackSpace", "Left", "Up", "F1", "F4", "F10", "F12"]
guarded = [["Super_L"], ["Super_R"], ["Menu"], ["Alt_L"], ["Alt_L", "Tab"], ["Alt_L", "F4"],
           ["Alt_L", "Escape"], ["Alt_R", "x"], ["Super_L", "d"], ["Alt_L", "Shift_L", "Tab"]]
shortcuts = [["Control_L", "x"], ["Control_L", "r"], ["Control_L", "p"], ["Control_L", "Escape"],
             ["Control_L", "Shift_L", "x"], ["Shift_L", "a"]]

for _ in range(count):
    r = rng.random()
    if r < 0.30:
        move(*point())
    elif r < 0.55:
        px, py = point()
        move(px, py)
        button = 1 if rng.random() < 0.85 else rng.choice([2, 3])
        xt.XTestFakeButtonEvent(d, button, 1, 0)
        xt.XTestFakeButtonEvent(d, button, 0, 0)
    elif r < 0.65:
        px, py = point()
        move(px, py)
        xt.XTestFakeButtonEvent(d, 1, 1, 0)
        for _ in range(rng.randrange(2, 9)):
            px = min(1023, max(0, px + rng.randrange(-60, 61)))
            py = min(767, max(0, py + rng.randrange(-60, 61)))
            move(px, py)
            x.XFlush(d)
            time.sleep(0.002)
        if on_yes(px, py):
            move(*point())
        xt.XTestFakeButtonEvent(d, 1, 0, 0)
    elif r < 0.80:
        press([rng.choice(plain)])
    elif r < 0.92:
        press(rng.choice(guarded))
    else:
        press(rng.choice(shortcuts))
    x.XFlush(d)
    time.sleep(0.004)
x.XSync(d, 0)
PY
}

start_xvfb 1024x768x24
start_program "$app"
expect_grab_status AlreadyGrabbed 0
done_events=0
round=0
while [ "$done_events" -lt "$events" ]; do
    round=$((round + 1))
    monkey_burst "$round"
    done_events=$((done_events + burst))
    alive "$round"
    wait_until 30 "burst $round: the screen never came to rest" at_rest
    look
    case $SCREEN in
    colouring | gallery) ;;
    *) fail "burst $round: the screen shows '$SCREEN', not exactly one of the two screens" ;;
    esac
    note "burst $round: $done_events events, the $SCREEN screen, panel: $PANEL"
    wait_until 60 "burst $round: no panel could be closed and the colouring screen reached" settled
    keys ctrl+x
    wait_until 20 "burst $round: Ctrl+X showed no exit panel" exit_panel_up
    click_at "$NE_C"
    wait_until 20 "burst $round: the no button did not close the exit panel" exit_panel_down
    alive "$round"
done

keys ctrl+x
wait_until 20 "the last Ctrl+X showed no exit panel" exit_panel_up
click_at "$DA_C"
expect_exit "$APP_PID" 0 10
expect_no_process_left
expect_grab_status GrabSuccess 2
APP_PID=""
asked=0
[ -f "$E2E_TMP/opened" ] && asked=$(wc -l <"$E2E_TMP/opened")
note "$done_events events (seed $seed); the browser was asked $asked times"
pass
