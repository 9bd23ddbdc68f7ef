#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The program on a Wayland desktop, under a private headless sway with
# XWayland, both displays offered to the program as on a desktop session:
#  1. natively, in a window of its own making (no GL library mapped, the
#     splash's neither): full screen and focused, the colouring screen drawn
#     exactly; sway's Super+Return, Alt+Tab and Menu bindings do not run
#     while the program runs, while a binding marked --inhibited does (so
#     the keys do arrive); a click fills; a button shows its hover face and
#     rests again; the pointers over the canvas are drawn with their hot
#     spots at their centres; another colour fills; a drawing is chosen in
#     the gallery; a second start brings the window back from another workspace,
#     focused and holding the keyboard again, and ends with status 0; Ctrl+X
#     and Da end the program with status 0, and the bindings run again;
#  2. the hold as the window reports it agrees with sway's own view, on a
#     window of the platform alone (window_probe): held while focused, not
#     held on another workspace, held again when it comes back;
#  3. with no GPU driver at all it still runs natively; when no compositor
#     answers on WAYLAND_DISPLAY it runs through XWayland instead; with no
#     display at all, or a Wayland display that does not answer and no X
#     display, it ends with one line on standard error saying why;
#  4. through XWayland with SDL_VIDEODRIVER=x11: drawn exactly, the message
#     that lets GNOME's XWayland honour the grab sent to the root window for
#     the program's window, and the way out works; whether sway's bindings
#     are held is recorded, not asserted (wlroots does not implement XWayland
#     keyboard grabs).
# Keys and the pointer come from a virtual keyboard and pointer of our own,
# and sway and the program run as nobody (sway.sh).
#   wayland.sh APP_DIR VIRTUAL_INPUT WINDOW_PROBE
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/ui.sh"
source "$(dirname "$0")/sway.sh"
app=${1:?application directory}
input_helper=${2:?virtual input helper}
probe=${3:?window probe}
[ -x "$app/tintaro" ] || fail "no program at $app/tintaro"
e2e_init
ui_require

sway_init "$app" "$input_helper"
copy=$SWAY_APP
UI_APP=$copy
cp "$probe" "$SWAY_DIR/window_probe"
chown nobody:nogroup "$SWAY_DIR/window_probe"
# Sway's bindings run no command of their own: each one's run is an event
# that sway reports, in order, to the subscriber below.
# A window that asks to be activated gets the focus, as on GNOME and KDE
# with a launcher's token (sway's own default only marks it urgent).
start_sway "bindsym Mod4+Return nop guard-super" "bindsym Mod1+Tab nop guard-alt-tab" \
    "bindsym Menu nop guard-menu" "bindsym --inhibited Mod4+F12 nop guard-control" \
    "focus_on_window_activation focus"
setpriv --reuid=nobody --regid=nogroup --clear-groups swaymsg -r -m -t subscribe '["binding"]' \
    >"$E2E_TMP/bindings.log" 2>&1 &
SWAY_CHILDREN+=($!)
start_input

# Waits for the companion's splash, titled "Tintaro", on SHELL.
expect_splash() {
    wait_until 30 "no splash on $1" _splash_on "$1"
}

_splash_on() {
    local got
    got=$(sway_window name Tintaro) || return 1
    [ "${got%% *}" = "$1" ] || { echo "the splash: $got" >&2; return 1; }
}

# The bindings sway ran since the log had LINES lines, one name a line.
bindings_since() {
    tail -n +"$(($1 + 1))" "$E2E_TMP/bindings.log" | grep -o 'guard-[a-z-]*' || true
}

bindings_logged() {
    wc -l <"$E2E_TMP/bindings.log"
}

_control_ran_since() {
    bindings_since "$1" | grep -qx guard-control
}

# Presses Super+Return, Alt+Tab and Menu, then the control binding, and
# leaves in RAN the names of the first three that sway ran. (No command
# substitution around it: the input helper's pipes belong to this shell.)
RAN=""
desktop_shortcuts() {
    local before
    before=$(bindings_logged)
    input key super+Return
    input key alt+Tab
    input key Menu
    input key super+F12
    # Sway reports the bindings in the order it handles the keys, so once
    # the control's run is reported, the others would have been too.
    wait_until 20 "the control binding (marked --inhibited) never ran" _control_ran_since "$before"
    RAN=$(bindings_since "$before" | { grep -vx guard-control || true; } | tr '\n' ' ' | sed 's/ $//')
}

_app_unfocused() {
    local state
    state=$(app_window) || return 1
    [ "$(cut -d' ' -f3 <<<"$state")" = False ] || { echo "$state" >&2; return 1; }
}

# The pointer rests where it covers nothing that a check looks at.
readonly REST="1020 764"

# The way out a child takes: Ctrl+X shows the exit panel, a click on its yes
# button (Da) ends the program with status 0, leaving no process behind.
exit_through_panel() {
    input key ctrl+x
    expect_screen_region 4 "$copy/PICTURE/CTRLX.JPG" 312 259 400 150 0 0
    input move $DA_C
    input click
    expect_exit "$APP_PID" 0
    expect_no_process_left
    APP_PID=""
}

# No library of the GL stack in PID (the window and the splash draw in
# shared memory).
expect_no_gl() {
    local found
    found=$(gl_libraries "$2")
    [ -z "$found" ] || fail "$1 maps the GL stack: $found"
}

# The pointer's picture at X,Y as sway draws it into a capture: the icon
# file ICON laid over the screen under it, its centre on the hot spot. A
# hot spot anywhere else moves the picture and the capture disagrees.
expect_pointer_picture() {
    local x=$1 y=$2 icon=$3
    input move $REST
    screenshot "$E2E_TMP/under.png"
    input move "$x" "$y"
    wait_until 20 "the pointer at $x,$y does not show $icon centred on its hot spot" \
        _pointer_picture_is "$x" "$y" "$icon"
}

_pointer_picture_is() {
    screenshot "$E2E_TMP/pointer.png"
    "$UI_PY" - "$E2E_TMP/under.png" "$E2E_TMP/pointer.png" "$@" <<'PY'
import sys
from PIL import Image, ImageChops, ImageStat
under, shot, x, y, icon = sys.argv[1], sys.argv[2], int(sys.argv[3]), int(sys.argv[4]), sys.argv[5]
picture = Image.open(icon).convert("RGBA")
w, h = picture.size
box = (x - w // 2, y - h // 2, x - w // 2 + w, y - h // 2 + h)
expected = Image.open(under).convert("RGBA").crop(box)
expected.alpha_composite(picture)
got = Image.open(shot).convert("RGB").crop(box)
mean = sum(ImageStat.Stat(ImageChops.difference(expected.convert("RGB"), got)).mean) / 3
if mean > 3:
    sys.exit("the pointer's picture differs by %.1f on average" % mean)
PY
}

# 0. The bindings and the input work before the program runs.
desktop_shortcuts
[ "$RAN" = "guard-super guard-alt-tab guard-menu" ] || fail "without the program sway ran '$RAN'"

# 1. Natively.
start_as_nobody
expect_splash xdg_shell
expect_no_gl "the splash" "$(sway_window name Tintaro pid)"
expect_app_window xdg_shell
expect_no_gl "the program" "$APP_PID"
input move $REST
expect_canvas 30 "$copy/PICTURE/01.GIF"
screenshot "$E2E_TMP/native.png"
expect_colouring_screen "$E2E_TMP/native.png" "$copy"
wait_idle
desktop_shortcuts
[ -z "$RAN" ] || fail "sway ran '$RAN' while the program held the keyboard"
expect_app_window xdg_shell
input move 400 330
input click
input move $REST
expect_canvas 20 "$copy/PICTURE/01.GIF" "fill:400,330,${RED// /,}"
# Over the button's last pixel: sway draws the pointer into the capture,
# and the hand's picture then falls beside the button, not over it.
input move $((PAPIR_X + PAPIR_W - 1)) $((PAPIR_Y + PAPIR_H - 1))
wait_until 20 "the erase button never showed its hover face" _face_is PAPIR2.JPG $PAPIR_X $PAPIR_Y $PAPIR_W $PAPIR_H
input move $REST
wait_until 20 "the erase button never rested again" _face_is PAPIR1.JPG $PAPIR_X $PAPIR_Y $PAPIR_W $PAPIR_H
# Our own drop over the canvas at first, then the tools' icon files.
expect_pointer_picture 200 500 "$(cd "$(dirname "$0")/../.." && pwd)/assets/UI/DROP.png"
input move $OLOVKA_C
input click
expect_pointer_picture 200 500 "$copy/PICTURE/CETKA.ICO"
input move $KAPLJICA_C
input click
expect_pointer_picture 200 500 "$copy/PICTURE/KANTICA8.ICO"
# Another colour fills another part; the gallery's second drawing comes in.
input move $(palette_centre 2)
input click
input move 600 150
input click
input move $REST
expect_canvas 20 "$copy/PICTURE/01.GIF" "fill:400,330,${RED// /,}" "fill:600,150,${GREEN// /,}"
input move $MOREIMAGES_C
input click
read -r tx ty < <(thumbnail_origin 2)
expect_screen_region 4 "$copy/PICTURE/GALERIJA1BELE_$(thumbnail_picture_number 2).JPG" "$tx" "$ty" \
    "$GALERIJA1_W" "$GALERIJA1_H" 0 0
input move $((tx + 20)) $((ty + 20))
input click
input move $REST
expect_canvas 20 "$copy/PICTURE/02.GIF"
# Out of sight on another workspace, as a minimised window is on other
# desktops; a second start brings it back.
as_nobody swaymsg "[pid=$APP_PID] move to workspace 2" >/dev/null
wait_until 20 "the program's window still has the focus" _app_unfocused
as_nobody env "$copy/tintaro" >"$E2E_TMP/second.log" 2>&1 || fail "the second start failed: $(cat "$E2E_TMP/second.log")"
[ ! -s "$E2E_TMP/second.log" ] || fail "the second start said: $(cat "$E2E_TMP/second.log")"
expect_app_window xdg_shell
desktop_shortcuts
[ -z "$RAN" ] || fail "sway ran '$RAN' after the second start brought the window back"
exit_through_panel
desktop_shortcuts
[ "$RAN" = "guard-super guard-alt-tab guard-menu" ] || fail "after the program ended sway ran '$RAN'"

# 2. The hold as the platform reports it, against sway's view.
start_probe() {
    PROBE_LOG="$E2E_TMP/probe.log"
    setpriv --reuid=nobody --regid=nogroup --clear-groups "$SWAY_DIR/window_probe" >"$PROBE_LOG" 2>&1 &
    PROBE_PID=$!
    SWAY_CHILDREN+=("$PROBE_PID")
}

# Waits until the probe's last word on the hold is STATE.
expect_probe_guard() {
    wait_until 20 "the window never reported the hold $1" _probe_guard_is "$1"
}

_probe_guard_is() {
    local last
    last=$(grep '^GuardChanged ' "$PROBE_LOG" | tail -n1 | cut -d' ' -f2)
    [ "$last" = "$1" ] || { echo "last reported: ${last:-nothing}" >&2; return 1; }
}

start_probe
expect_probe_guard Held
grep -q '^GuardChanged Asked' "$PROBE_LOG" || fail "the hold was never reported as asked: $(cat "$PROBE_LOG")"
desktop_shortcuts
[ -z "$RAN" ] || fail "the window reported the hold, yet sway ran '$RAN'"
as_nobody swaymsg "[pid=$PROBE_PID] move to workspace elsewhere" >/dev/null
expect_probe_guard NotHeld
desktop_shortcuts
[ "$RAN" = "guard-super guard-alt-tab guard-menu" ] || fail "the window reported no hold, yet sway ran '$RAN'"
as_nobody swaymsg "workspace elsewhere" >/dev/null
expect_probe_guard Held
desktop_shortcuts
[ -z "$RAN" ] || fail "the window reported the hold again, yet sway ran '$RAN'"
kill -TERM "$PROBE_PID"
wait_until 20 "the probe did not end" grep -q '^Quit' "$PROBE_LOG"
as_nobody swaymsg "workspace 1" >/dev/null

# 3. No GPU driver at all (glvnd finds no EGL vendor): natively still.
start_as_nobody __EGL_VENDOR_LIBRARY_FILENAMES=/nonexistent
expect_splash xdg_shell
expect_app_window xdg_shell
kill -TERM "$APP_PID"
expect_exit "$APP_PID" 0
APP_PID=""
# No compositor answers on the Wayland display: XWayland shows the program.
start_as_nobody WAYLAND_DISPLAY=nowhere-0
expect_splash xwayland
expect_app_window xwayland
kill -TERM "$APP_PID"
expect_exit "$APP_PID" 0
APP_PID=""
# The ways out with a reason, `WANTED|ENVIRONMENT` a line; an empty runtime
# folder, so that nothing finds a Wayland display by its default name either.
mkdir -p "$SWAY_DIR/empty"
chown nobody:nogroup "$SWAY_DIR/empty"
while IFS='|' read -r wanted settings; do
    status=0
    # shellcheck disable=SC2086
    as_nobody env -u WAYLAND_DISPLAY -u DISPLAY XDG_RUNTIME_DIR="$SWAY_DIR/empty" $settings "$copy/tintaro" \
        >/dev/null 2>"$E2E_TMP/stderr.log" || status=$?
    [ "$status" -ne 0 ] || fail "with '$settings' the program ended with status 0"
    [ "$(wc -l <"$E2E_TMP/stderr.log")" -eq 1 ] && grep -q "^tintaro: $wanted" "$E2E_TMP/stderr.log" ||
        fail "with '$settings', expected one line 'tintaro: $wanted...' on standard error, got: $(cat "$E2E_TMP/stderr.log")"
    note "${settings:-no display}: $(cat "$E2E_TMP/stderr.log")"
done <<EOF
no display|
cannot open the display|WAYLAND_DISPLAY=nowhere-0
EOF

# Writes "WINDOW VALUE" for each _XWAYLAND_MAY_GRAB_KEYBOARD client message
# sent to the X root window (as any client that watches the root sees it).
watch_grab_messages() {
    as_nobody "$UI_PY" -c '
import ctypes, ctypes.util, sys
x = ctypes.cdll.LoadLibrary(ctypes.util.find_library("X11") or "libX11.so.6")
class ClientMessage(ctypes.Structure):
    _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong), ("send_event", ctypes.c_int),
                ("display", ctypes.c_void_p), ("window", ctypes.c_ulong), ("message_type", ctypes.c_ulong),
                ("format", ctypes.c_int), ("l", ctypes.c_long * 5)]
class Event(ctypes.Union):
    _fields_ = [("type", ctypes.c_int), ("client", ClientMessage), ("pad", ctypes.c_long * 24)]
x.XOpenDisplay.restype = ctypes.c_void_p
x.XOpenDisplay.argtypes = [ctypes.c_char_p]
x.XDefaultRootWindow.restype = ctypes.c_ulong
x.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
x.XInternAtom.restype = ctypes.c_ulong
x.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
x.XSelectInput.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_long]
x.XNextEvent.argtypes = [ctypes.c_void_p, ctypes.POINTER(Event)]
d = x.XOpenDisplay(None)
if not d:
    sys.exit("no X display")
atom = x.XInternAtom(d, b"_XWAYLAND_MAY_GRAB_KEYBOARD", 0)
SUBSTRUCTURE_NOTIFY, CLIENT_MESSAGE = 1 << 19, 33
x.XSelectInput(d, x.XDefaultRootWindow(d), SUBSTRUCTURE_NOTIFY)
x.XSync(d, 0)
print("watching", flush=True)
event = Event()
while True:
    x.XNextEvent(d, ctypes.byref(event))
    if event.type == CLIENT_MESSAGE and event.client.message_type == atom and event.client.format == 32:
        print(event.client.window, event.client.l[0], flush=True)
'
}

# 4. Through XWayland, as the user may ask.
watch_grab_messages >"$E2E_TMP/grab-messages.log" 2>&1 &
SWAY_CHILDREN+=($!)
wait_until 20 "the X root window is not watched" grep -qx watching "$E2E_TMP/grab-messages.log"
start_as_nobody SDL_VIDEODRIVER=x11
expect_app_window xwayland
x_window=$(sway_window pid "$APP_PID" window)
wait_until 20 "no _XWAYLAND_MAY_GRAB_KEYBOARD message for the program's window $x_window" \
    grep -qx "$x_window 1" "$E2E_TMP/grab-messages.log"
input move $REST
expect_canvas 30 "$copy/PICTURE/01.GIF"
wait_idle
desktop_shortcuts
if [ -z "$RAN" ]; then
    note "through XWayland the guard holds: sway ran no binding"
else
    note "through XWayland the guard does not hold: sway ran $RAN"
fi
exit_through_panel
pass
