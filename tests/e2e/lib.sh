# SPDX-License-Identifier: GPL-3.0-or-later
# End-to-end harness: runs the real program on a private X server and looks
# at it the way a person would, through screenshots, the pointer and keys.
#
#   source "$(dirname "$0")/lib.sh"
#   e2e_init                      # temp folder, cleanup on exit
#   start_xvfb [WxHxD]            # default 1024x768x24; exports DISPLAY
#   start_wm                      # optional: openbox
#   start_app PROGRAM [ARGS...]   # APP_PID, in a session of its own
#   app_command APP_DIR           # what starts Tintaro (E2E_COMMAND, else APP_DIR/tintaro)
#   wait_window NAME [SECONDS]    # WINDOW_ID of the first visible match
#   screenshot FILE               # the whole screen
#   pixel FILE X Y                # "R G B"
#   click X Y [BUTTON] / drag X1 Y1 X2 Y2 / keys COMBO...
#   expect_exit PID STATUS [SECONDS] / expect_no_process_left
#   wait_until SECONDS MESSAGE COMMAND...   # the one way to wait for a condition
#   output_is WANTED COMMAND...             # COMMAND prints WANTED (a check to wait on)
#   close_request WINDOW                    # as a window manager asks a window to close
#
# Every helper fails the test with a message on standard error; the test
# script runs with `set -euo pipefail` and ends with `pass`.
#
# Two settings test an installed package: E2E_COMMAND (the command that
# starts Tintaro, such as /usr/bin/tintaro) and E2E_USER (an ordinary user
# the programs run as, while the test may be root).

set -euo pipefail

E2E_TMP=""
XVFB_PID=""
WM_PID=""
APP_PID=""
APP_SID=""
WINDOW_ID=""
AS_APP_USER=()
AUDIO_COPIER_PID=""
E2E_AUDIO=""

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

note() {
    echo "# $*" >&2
}

pass() {
    echo "PASS: ${0##*/}" >&2
    exit 0
}

require_tools() {
    local tool
    for tool in "$@"; do
        command -v "$tool" >/dev/null 2>&1 || fail "missing tool: $tool (run scripts/install-deps)"
    done
}

_e2e_cleanup() {
    local status=$?
    set +e
    if [ -n "$APP_PID" ] && kill -0 "$APP_PID" 2>/dev/null; then
        kill -KILL "$APP_PID" 2>/dev/null
    fi
    # Whatever the program left in its session goes too.
    if [ -n "$APP_SID" ]; then
        local pid
        for pid in $(ps -eo pid=,sid= | awk -v sid="$APP_SID" '$2 == sid { print $1 }'); do
            kill -KILL "$pid" 2>/dev/null
        done
    fi
    [ -n "$AUDIO_COPIER_PID" ] && kill "$AUDIO_COPIER_PID" 2>/dev/null && wait "$AUDIO_COPIER_PID" 2>/dev/null
    [ -n "$WM_PID" ] && kill "$WM_PID" 2>/dev/null && wait "$WM_PID" 2>/dev/null
    [ -n "$XVFB_PID" ] && kill "$XVFB_PID" 2>/dev/null && wait "$XVFB_PID" 2>/dev/null
    if [ -n "$E2E_TMP" ] && [ -d "$E2E_TMP" ]; then
        if [ "$status" -ne 0 ] && [ -n "${E2E_KEEP_ON_FAILURE:-}" ]; then
            echo "# kept $E2E_TMP" >&2
        else
            rm -rf "$E2E_TMP"
        fi
    fi
    exit "$status"
}

e2e_init() {
    require_tools Xvfb xdotool xwininfo xdpyinfo import convert compare setsid
    E2E_TMP=$(mktemp -d "${TMPDIR:-/tmp}/tintaro-e2e.XXXXXX")
    trap _e2e_cleanup EXIT
    trap 'exit 130' INT TERM
    # No sound card here: SDL's disk driver writes the mixed output to a file,
    # which also lets a test listen to it ($E2E_AUDIO). The program closes its
    # audio device after a few seconds of silence and opens it again for the
    # next sound, and the driver starts its file afresh at every opening; so
    # the driver writes into a pipe, and a copier appends all of it to one
    # file: every sound in order, without the closed spells in between.
    export SDL_AUDIODRIVER=disk
    E2E_AUDIO="$E2E_TMP/audio.raw"
    : >"$E2E_AUDIO"
    mkfifo "$E2E_TMP/audio.pipe"
    # The copier holds the pipe open for reading and writing, so the pipe
    # never ends for it when the program closes its side, and the program
    # never waits to open it.
    cat 0<>"$E2E_TMP/audio.pipe" >>"$E2E_AUDIO" &
    AUDIO_COPIER_PID=$!
    export SDL_DISKAUDIOFILE="$E2E_TMP/audio.pipe"
    # The program must not find a session's settings, caches or lock: a
    # Tintaro open on the desktop, or another test's, would make it step aside.
    export HOME="$E2E_TMP/home"
    export XDG_CACHE_HOME="$E2E_TMP/home/.cache"
    export XDG_RUNTIME_DIR="$E2E_TMP/runtime"
    mkdir -p "$HOME"
    mkdir -m 0700 "$XDG_RUNTIME_DIR"
    # E2E_USER: the programs run as this ordinary user (the test itself may
    # be root, to set up printing), with a home and runtime folder of their
    # own and the disk audio pipe theirs to write.
    # AS_APP_USER prefixes a command that runs a program of the test.
    AS_APP_USER=()
    if [ -n "${E2E_USER:-}" ]; then
        chmod 0711 "$E2E_TMP"
        chown -R "$E2E_USER:" "$HOME" "$XDG_RUNTIME_DIR" "$E2E_TMP/audio.pipe"
        AS_APP_USER=(setpriv --reuid="$E2E_USER" --regid="$(id -g "$E2E_USER")" --clear-groups)
    fi
    unset WAYLAND_DISPLAY
    # In a sanitizer build, the one allocation libdbus keeps for the life of
    # the process (SDL asks the session bus about the screen saver) is no leak
    # of ours.
    printf 'leak:libdbus-1.so\n' >"$E2E_TMP/lsan.supp"
    export LSAN_OPTIONS="suppressions=$E2E_TMP/lsan.supp${LSAN_OPTIONS:+:$LSAN_OPTIONS}"
}

# Seconds since the epoch with milliseconds.
now() {
    date +%s.%N | cut -c1-14
}

elapsed_since() {
    awk -v a="$1" -v b="$(now)" 'BEGIN { printf "%.3f", b - a }'
}

# Microseconds on the wall clock, for deadlines.
now_us() {
    local t=$EPOCHREALTIME
    echo $((10#${t/./}))
}

# Every wait of the end-to-end tests: runs COMMAND (in a subshell, so a
# check that calls `fail` only answers "not yet") until it succeeds, then
# leaves its standard output in WAIT_OUTPUT. After SECONDS the test fails
# with WHAT and the command's last complaint. A deadline is a limit for a
# machine that has stalled, never a measurement: a loaded machine only makes
# the wait longer, so deadlines are generous.
#   wait_until SECONDS WHAT COMMAND [ARGS...]
WAIT_OUTPUT=""
wait_until() {
    # Names of its own that no caller's variable can be hidden by.
    local _wait_seconds=$1 _wait_what=$2 _wait_output _wait_last=""
    shift 2
    # Fractions of a second count too; bash's own arithmetic keeps 64 bits.
    local _wait_whole=${_wait_seconds%%.*} _wait_fraction=0
    [[ "$_wait_seconds" == *.* ]] && _wait_fraction=${_wait_seconds#*.}000000
    local _wait_deadline=$(($(now_us) + 10#${_wait_whole:-0} * 1000000 + 10#${_wait_fraction:0:6}))
    local _wait_complaint="$E2E_TMP/wait-complaint"
    while :; do
        if _wait_output=$("$@" 2>"$_wait_complaint"); then
            WAIT_OUTPUT=$_wait_output
            return 0
        fi
        [ "$(now_us)" -lt "$_wait_deadline" ] || break
        sleep 0.05
    done
    [ -s "$_wait_complaint" ] && _wait_last=": $(tail -n3 "$_wait_complaint" | sed 's/^FAIL: //' | tr '\n' ' ')"
    fail "$_wait_what (waited ${_wait_seconds}s)$_wait_last"
}

# Succeeds when COMMAND prints exactly WANTED; otherwise says what it
# printed. The check behind every wait for a reading to take a value:
#   wait_until 20 "the keyboard is not held" output_is held keyboard_grab_state
output_is() {
    local _output_wanted=$1 _output_got
    shift
    _output_got=$("$@") || true
    [ "$_output_got" = "$_output_wanted" ] || { echo "it is '$_output_got'" >&2; return 1; }
}

# The window that has the focus, as xdotool sees it; empty when none.
active_window() {
    xdotool getactivewindow 2>/dev/null || true
}

# The ICCCM state of window ID: Normal, Iconic or Withdrawn.
window_state() {
    xprop -id "$1" WM_STATE 2>/dev/null | awk '/window state:/ { print $3 }'
}

# True while PID runs (a zombie has ended).
process_runs() {
    kill -0 "$1" 2>/dev/null && [ "$(ps -o stat= -p "$1" 2>/dev/null | cut -c1)" != Z ]
}

# Starts a private X server on a free display number (-displayfd lets the
# server pick it) and exports DISPLAY: without DISPLAY, SDL silently falls
# back to an offscreen driver and nothing can be seen.
start_xvfb() {
    local screen=${1:-1024x768x24}
    local fdfile="$E2E_TMP/display"
    : >"$fdfile"
    Xvfb -displayfd 3 -screen 0 "$screen" -nolisten tcp -noreset 3>"$fdfile" >"$E2E_TMP/xvfb.log" 2>&1 &
    XVFB_PID=$!
    wait_until 30 "Xvfb gave no display number" _xvfb_numbered "$fdfile"
    export DISPLAY=":$(head -n1 "$fdfile")"
    wait_until 30 "X server $DISPLAY does not answer" xdpyinfo
}

_xvfb_numbered() {
    [ -s "$1" ] && return 0
    kill -0 "$XVFB_PID" 2>/dev/null || { echo "Xvfb ended: $(cat "$E2E_TMP/xvfb.log")" >&2; exit 2; }
    return 1
}

# Stops the X server (and the window manager) of the test, so that the next
# part can start a fresh one.
stop_x() {
    if [ -n "$WM_PID" ]; then
        kill "$WM_PID" 2>/dev/null
        wait "$WM_PID" 2>/dev/null || true
    fi
    WM_PID=""
    if [ -n "$XVFB_PID" ]; then
        kill "$XVFB_PID" 2>/dev/null
        wait "$XVFB_PID" 2>/dev/null || true
    fi
    XVFB_PID=""
}

# Openbox: needed for full screen on a screen larger than the window, and
# for everything a window manager decides (focus, Alt+Tab).
start_wm() {
    require_tools openbox xprop
    openbox --sm-disable >"$E2E_TMP/openbox.log" 2>&1 &
    WM_PID=$!
    wait_until 60 "openbox did not get ready" _wm_ready
}

# Openbox claims the screen (_NET_SUPPORTING_WM_CHECK, and with it every
# window's map request) before it reads its configuration and loads its
# theme's fonts; only then does it map windows. With a cold font cache (a
# fresh machine, the test's empty home) that takes seconds on a loaded
# machine, and a window started in between stays unmapped all that time.
# _OB_THEME is set once the theme is loaded.
_wm_ready() {
    kill -0 "$WM_PID" 2>/dev/null || { echo "openbox ended: $(cat "$E2E_TMP/openbox.log")" >&2; return 1; }
    xprop -root _OB_THEME 2>/dev/null | grep -q ' = '
}

# The command that starts Tintaro from an application directory: the
# program in it, or E2E_COMMAND (such as /usr/bin/tintaro of an installed
# package, which must find its directory through the link).
app_command() {
    echo "${E2E_COMMAND:-$1/tintaro}"
}

# Starts the program in a session of its own, so that everything it starts
# can be found again by the session id. Output goes to $E2E_TMP/app.log.
# With E2E_USER it runs as that user, with the same process id.
start_app() {
    [ -x "$1" ] || fail "not a program: $1"
    APP_START=$(now)
    setsid "${AS_APP_USER[@]}" "$@" >"$E2E_TMP/app.log" 2>&1 &
    APP_PID=$!
    APP_SID=$APP_PID
    wait_until 30 "$1 did not start in a session of its own" _in_own_session "$APP_PID"
}

_in_own_session() {
    # A program that is already done has nothing to check.
    [ "$(ps -o sid= -p "$1" 2>/dev/null | tr -d ' ')" = "$1" ] || ! kill -0 "$1" 2>/dev/null
}

# The first visible window whose name matches.
visible_window() {
    local name=$1 id
    for id in $(xdotool search --onlyvisible --name "$name" 2>/dev/null); do
        echo "$id"
        return 0
    done
    [ -z "$APP_PID" ] || process_runs "$APP_PID" || {
        echo "the program ended: $(tail -n5 "$E2E_TMP/app.log" | tr '\n' '|')" >&2
        return 1
    }
    echo "none yet" >&2
    return 1
}

# Waits for a visible window whose name matches and sets WINDOW_ID.
wait_window() {
    local name=$1 seconds=${2:-30}
    wait_until "$seconds" "no visible window named '$name'" visible_window "$name"
    WINDOW_ID=$WAIT_OUTPUT
}

_no_visible_window() {
    ! xdotool search --onlyvisible --name "$1" >/dev/null 2>&1
}

# Waits until no visible window matches the name.
wait_window_gone() {
    local name=$1 seconds=${2:-30}
    wait_until "$seconds" "a window named '$name' is still visible" _no_visible_window "$name"
}

# "X Y W H" of a window on the screen.
window_geometry() {
    local info
    info=$(xwininfo -id "${1:-$WINDOW_ID}")
    local x y w h
    x=$(awk '/Absolute upper-left X/ { print $4 }' <<<"$info")
    y=$(awk '/Absolute upper-left Y/ { print $4 }' <<<"$info")
    w=$(awk '/Width:/ { print $2 }' <<<"$info")
    h=$(awk '/Height:/ { print $2 }' <<<"$info")
    echo "$x $y $w $h"
}

screen_size() {
    xdpyinfo | awk '/dimensions:/ { split($2, d, "x"); print d[1], d[2] }'
}

screenshot() {
    import -window root "$1" 2>/dev/null || fail "screenshot failed"
}

# "R G B" of one pixel, 0..255 each.
pixel() {
    convert "$1" -format '%[fx:int(255*p{'"$2"','"$3"'}.r+0.5)] %[fx:int(255*p{'"$2"','"$3"'}.g+0.5)] %[fx:int(255*p{'"$2"','"$3"'}.b+0.5)]\n' info:
}

# True when "R G B" lies within TOLERANCE of each expected component.
colour_near() {
    local got=$1 want=$2 tolerance=${3:-0}
    awk -v g="$got" -v w="$want" -v t="$tolerance" 'BEGIN {
        split(g, a, " "); split(w, b, " ");
        for (i = 1; i <= 3; i++) { d = a[i] - b[i]; if (d < 0) d = -d; if (d > t) exit 1 }
    }'
}

expect_pixel() {
    local file=$1 x=$2 y=$3 want=$4 tolerance=${5:-0}
    local got
    got=$(pixel "$file" "$x" "$y")
    colour_near "$got" "$want" "$tolerance" || fail "pixel ($x,$y) is '$got', expected '$want' (±$tolerance)"
}

# Mean absolute difference (0..255) between a region of the screenshot and
# the same-sized region of a reference picture, optionally at another
# offset in the reference: region_difference SHOT REF X Y W H [RX RY].
region_difference() {
    local shot=$1 ref=$2 x=$3 y=$4 w=$5 h=$6 rx=${7:-$3} ry=${8:-$4}
    local a="$E2E_TMP/region-a.png" b="$E2E_TMP/region-b.png"
    convert "$shot" -crop "${w}x${h}+${x}+${y}" +repage -alpha off "$a"
    convert "$ref" -crop "${w}x${h}+${rx}+${ry}" +repage -alpha off "$b"
    # compare writes the metric to standard error and exits 1 when the
    # pictures differ at all; only the number matters here.
    { compare -metric MAE "$a" "$b" null: 2>&1 || true; } | awk '{ gsub(/[()]/, "", $2); printf "%.2f\n", $2 * 255 }'
}

expect_region_like() {
    local limit=$1
    shift
    local diff
    diff=$(region_difference "$@")
    awk -v d="$diff" -v l="$limit" 'BEGIN { exit !(d <= l) }' ||
        fail "region $3,$4 ${5}x${6} differs from $(basename "$2") by $diff (limit $limit)"
}

# Waits until a fresh screenshot's region lies within LIMIT of a reference
# picture's region (see region_difference for the arguments).
#   expect_screen_region LIMIT REF X Y W H [RX RY]
expect_screen_region() {
    wait_until 20 "no $(basename "$2") at $3,$4 ${5}x${6} on the screen" _screen_region_like "$@"
}

_screen_region_like() {
    local limit=$1 shot="$E2E_TMP/region-shot.png"
    shift
    screenshot "$shot"
    expect_region_like "$limit" "$shot" "$@"
}

# Counts the pixels of a region whose colour is within TOLERANCE of R G B.
count_colour() {
    local file=$1 x=$2 y=$3 w=$4 h=$5 want=$6 tolerance=${7:-0}
    local r g b
    read -r r g b <<<"$want"
    convert "$file" -crop "${w}x${h}+${x}+${y}" +repage -alpha off -depth 8 txt:- |
        awk -v r="$r" -v g="$g" -v b="$b" -v t="$tolerance" '
            NR > 1 {
                # "x,y: (r,g,b)  #hex  srgb(...)"
                s = $2; gsub(/[()]/, "", s); split(s, c, ",");
                dr = c[1] - r; dg = c[2] - g; db = c[3] - b;
                if (dr < 0) dr = -dr; if (dg < 0) dg = -dg; if (db < 0) db = -db;
                if (dr <= t && dg <= t && db <= t) n++
            }
            END { print n + 0 }'
}

move() {
    xdotool mousemove --sync "$1" "$2"
}

click() {
    xdotool mousemove --sync "$1" "$2" click "${3:-1}"
}

drag() {
    local x1=$1 y1=$2 x2=$3 y2=$4 steps=${5:-10}
    xdotool mousemove --sync "$x1" "$y1" mousedown 1
    local i
    for i in $(seq "$steps"); do
        xdotool mousemove --sync $((x1 + (x2 - x1) * i / steps)) $((y1 + (y2 - y1) * i / steps))
    done
    xdotool mouseup 1
}

keys() {
    xdotool key --clearmodifiers "$@"
}

# Waits for PID to end and checks its exit status. Works for children of
# this shell (the real status) only.
expect_exit() {
    local pid=$1 want=$2 seconds=${3:-20}
    wait_until "$seconds" "process $pid still runs" _process_ended "$pid"
    local status=0
    wait "$pid" || status=$?
    [ "$status" -eq "$want" ] || fail "process $pid ended with status $status, expected $want: $(tail -n5 "$E2E_TMP/app.log")"
}

_process_ended() {
    ! process_runs "$1"
}

# Processes of the program's session other than the program itself.
session_processes() {
    ps -eo pid=,sid=,stat=,comm= | awk -v sid="$APP_SID" -v self="$APP_PID" '$2 == sid && $1 != self'
}

# After the program ended: nothing it started is still running or unreaped.
expect_no_process_left() {
    wait_until 10 "processes left behind by the program" _session_empty
}

_session_empty() {
    local left
    left=$(session_processes)
    [ -z "$left" ] || { echo "$left" >&2; return 1; }
}

# Children of a running program that ended but were never waited for.
expect_no_zombie() {
    local pid=${1:-$APP_PID}
    local zombies
    zombies=$(ps -eo pid=,ppid=,stat=,comm= | awk -v p="$pid" '$2 == p && $3 ~ /^Z/')
    [ -z "$zombies" ] || fail "unreaped children of $pid: $zombies"
}

# CPU used by PID over SECONDS, in percent of one core.
cpu_percent() {
    local pid=$1 seconds=${2:-5}
    local hz before after
    hz=$(getconf CLK_TCK)
    before=$(awk '{ print $14 + $15 }' "/proc/$pid/stat")
    sleep "$seconds"
    after=$(awk '{ print $14 + $15 }' "/proc/$pid/stat")
    awk -v a="$before" -v b="$after" -v hz="$hz" -v s="$seconds" 'BEGIN { printf "%.2f\n", 100 * (b - a) / hz / s }'
}

# True while the main thread of PID sleeps in an event wait without a
# timeout: poll (x86-64) or ppoll with no time limit, the way SDL waits for
# the X connection when nothing is due. A pause, an animation or an armed
# timer waits with a limit, and work in progress is not in a wait at all.
main_thread_waits_for_events() {
    local pid=$1 call
    read -r -a call <"/proc/$pid/task/$pid/syscall" 2>/dev/null || return 1
    case "${call[0]}" in
    # poll's timeout is an int: -1 shows as 32 bits or sign-extended.
    7) [ "${call[3]}" = 0xffffffff ] || [ "${call[3]}" = 0xffffffffffffffff ] && return 0 ;;
    271 | 73) [ "${call[3]}" = 0x0 ] && return 0 ;;
    esac
    echo "the main thread is in system call ${call[*]:0:4}" >&2
    return 1
}

# Waits until the program has nothing left to do but wait for input.
wait_idle() {
    local pid=${1:-$APP_PID}
    wait_until 30 "the main thread of $pid never waited for events without a time limit" \
        main_thread_waits_for_events "$pid"
}

# Peak resident memory of PID in kB.
vmhwm_kb() {
    awk '/^VmHWM:/ { print $2 }' "/proc/$1/status"
}

# Shared objects of the GL stack mapped into PID (there should be none).
gl_libraries() {
    grep -oE '[^ ]*(libLLVM|libGL|libEGL|dri)[^ ]*\.so[^ ]*' "/proc/$1/maps" | sort -u || true
}

# Python that opens DISPLAY as `d` with libX11's keyboard grab calls bound,
# for the probes below (ctypes talks to libX11 directly: no extra tool).
_XGRAB_PY='
import ctypes, ctypes.util, os, sys
x = ctypes.cdll.LoadLibrary(ctypes.util.find_library("X11") or "libX11.so.6")
x.XOpenDisplay.restype = ctypes.c_void_p
x.XOpenDisplay.argtypes = [ctypes.c_char_p]
x.XDefaultRootWindow.restype = ctypes.c_ulong
x.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
x.XGrabKeyboard.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_int, ctypes.c_int, ctypes.c_ulong]
x.XUngrabKeyboard.argtypes = [ctypes.c_void_p, ctypes.c_ulong]
x.XSync.argtypes = [ctypes.c_void_p, ctypes.c_int]
x.XCloseDisplay.argtypes = [ctypes.c_void_p]
d = x.XOpenDisplay(os.environ["DISPLAY"].encode())
if not d:
    sys.exit("cannot open display")
GrabModeAsync, CurrentTime = 1, 0
def grab():
    status = x.XGrabKeyboard(d, x.XDefaultRootWindow(d), 1, GrabModeAsync, GrabModeAsync, CurrentTime)
    if status == 0:
        x.XUngrabKeyboard(d, CurrentTime)
        x.XSync(d, 0)
    return status
'

# What XGrabKeyboard answers another X client that asks for the keyboard
# now, as a screen locker or a second program would: GrabSuccess (the grab
# is let go at once), AlreadyGrabbed, GrabInvalidTime, GrabNotViewable or
# GrabFrozen.
keyboard_grab_status() {
    python3 -c "$_XGRAB_PY"'
status = grab()
names = ["GrabSuccess", "AlreadyGrabbed", "GrabInvalidTime", "GrabNotViewable", "GrabFrozen"]
print(names[status] if 0 <= status < len(names) else "status %d" % status)
x.XCloseDisplay(d)
'
}

# Asks for the keyboard as fast as it can until the file STOP exists; prints
# "watching" once it has begun and "tries N refused M" at the end. A grab of
# any length in between is refused at least once.
#   watch_keyboard_grabs STOP
watch_keyboard_grabs() {
    python3 -c "$_XGRAB_PY"'
tries = refused = 0
print("watching", flush=True)
while not os.path.exists(sys.argv[1]):
    tries += 1
    refused += grab() != 0
print("tries", tries, "refused", refused, flush=True)
' "$1"
}

# Asks a window to close the way a window manager does (WM_DELETE_WINDOW
# through WM_PROTOCOLS); it works on a hidden window too, and needs no
# window manager.
close_request() {
    python3 - "$1" <<'PY'
import ctypes, ctypes.util, os, sys
x = ctypes.cdll.LoadLibrary(ctypes.util.find_library("X11") or "libX11.so.6")
class ClientMessage(ctypes.Structure):
    _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong), ("send_event", ctypes.c_int),
                ("display", ctypes.c_void_p), ("window", ctypes.c_ulong), ("message_type", ctypes.c_ulong),
                ("format", ctypes.c_int), ("data", ctypes.c_long * 5)]
class Event(ctypes.Union):
    _fields_ = [("xclient", ClientMessage), ("pad", ctypes.c_long * 24)]
x.XOpenDisplay.restype = ctypes.c_void_p
x.XOpenDisplay.argtypes = [ctypes.c_char_p]
x.XInternAtom.restype = ctypes.c_ulong
x.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
x.XSendEvent.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_long, ctypes.POINTER(Event)]
x.XSync.argtypes = [ctypes.c_void_p, ctypes.c_int]
x.XCloseDisplay.argtypes = [ctypes.c_void_p]
d = x.XOpenDisplay(os.environ["DISPLAY"].encode())
if not d:
    sys.exit("cannot open display")
window = int(sys.argv[1], 0)
e = Event()
e.xclient.type = 33  # ClientMessage
e.xclient.window = window
e.xclient.message_type = x.XInternAtom(d, b"WM_PROTOCOLS", 0)
e.xclient.format = 32
e.xclient.data[0] = x.XInternAtom(d, b"WM_DELETE_WINDOW", 0)
e.xclient.data[1] = 0  # CurrentTime
x.XSendEvent(d, window, 0, 0, ctypes.byref(e))
x.XSync(d, 0)
x.XCloseDisplay(d)
PY
}

# "free" when another client could take the keyboard, "held" otherwise.
keyboard_grab_state() {
    [ "$(keyboard_grab_status)" = GrabSuccess ] && echo free || echo held
}

# Waits until keyboard_grab_state reports STATE.
expect_keyboard() {
    local want=$1 seconds=${2:-20}
    wait_until "$seconds" "the keyboard is not $want" output_is "$want" keyboard_grab_state
}

# Waits until the program's log has a line matching the extended regex.
expect_log() {
    local pattern=$1 seconds=${2:-20} file=${3:-$E2E_TMP/app.log}
    wait_until "$seconds" "no line matching '$pattern' in $(basename "$file")" _log_has "$pattern" "$file"
}

_log_has() {
    grep -qE "$1" "$2" 2>/dev/null || { tail -n8 "$2" 2>/dev/null | tr '\n' '|' >&2; return 1; }
}

# The main window's caption begins with the program's name; the splash of
# COLORS.EXE is called just "Tintaro".
MAIN_WINDOW='^Tintaro - '

# The controls' places, written from the program's control table at build time
# (ControlLayout.cpp): NAME_X, NAME_Y, NAME_W, NAME_H and NAME_C for every
# control, the palette's and the gallery's places, the start pictures. CTest
# names the file in E2E_LAYOUT; run by hand, the tests find the one of build/.
E2E_LAYOUT=${E2E_LAYOUT:-$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)/build/tests/e2e/layout.sh}
[ -r "$E2E_LAYOUT" ] || fail "no control layout at $E2E_LAYOUT: build the tests, or set E2E_LAYOUT"
# shellcheck source=/dev/null
source "$E2E_LAYOUT"

# The colouring screen as it looks after start-up, checked region by region
# against the pictures in the application directory: the canvas shows
# drawing 01 exactly (GIF, lossless), each visible control its start picture
# where it shows, and the uncovered background is GLAVNA.JPG. JPEG pictures
# are compared by mean difference, since two decoders may round differently.
#   expect_colouring_screen SHOT APP_DIR [CANVAS_PICTURE]
expect_colouring_screen() {
    local shot=$1 app=$2 canvas=${3:-01.GIF}
    local pic="$app/PICTURE" limit=4
    expect_region_like 0.5 "$shot" "$pic/$canvas" "$SLIKA_X" "$SLIKA_Y" "$SLIKA_W" "$SLIKA_H" 0 0
    # name left top width height picture (cut to what of the control shows)
    local control
    while read -r control; do
        [ -n "$control" ] || continue
        # shellcheck disable=SC2086
        set -- $control
        expect_region_like "$limit" "$shot" "$pic/$6" "$2" "$3" "$4" "$5" 0 0 || return 1
    done <<<"$START_PICTURES"
    # Background around the controls: the top strip above the canvas, the
    # title corner above MoreImages, the frame between the canvas and the
    # buttons (which begin right of x = 800), the strip under the canvas.
    local canvas_right=$((SLIKA_X + SLIKA_W)) canvas_bottom=$((SLIKA_Y + SLIKA_H))
    expect_region_like "$limit" "$shot" "$pic/GLAVNA.JPG" 0 0 1024 "$SLIKA_Y"
    expect_region_like "$limit" "$shot" "$pic/GLAVNA.JPG" 800 "$SLIKA_Y" 224 $((MOREIMAGES_Y - SLIKA_Y))
    expect_region_like "$limit" "$shot" "$pic/GLAVNA.JPG" "$canvas_right" "$SLIKA_Y" $((800 - canvas_right)) 642
    expect_region_like "$limit" "$shot" "$pic/GLAVNA.JPG" 0 "$canvas_bottom" 800 $((PALETACRVENA_Y - canvas_bottom))
}

# The pointer's current shape as the X server shows it (XFixes):
# "WIDTH HEIGHT XHOT YHOT".
cursor_shape() {
    python3 - <<'PY'
import ctypes, ctypes.util, os, sys
x = ctypes.cdll.LoadLibrary(ctypes.util.find_library("X11") or "libX11.so.6")
xf = ctypes.cdll.LoadLibrary(ctypes.util.find_library("Xfixes") or "libXfixes.so.3")
class Image(ctypes.Structure):
    _fields_ = [("x", ctypes.c_short), ("y", ctypes.c_short),
                ("width", ctypes.c_ushort), ("height", ctypes.c_ushort),
                ("xhot", ctypes.c_ushort), ("yhot", ctypes.c_ushort),
                ("serial", ctypes.c_ulong), ("pixels", ctypes.c_void_p),
                ("atom", ctypes.c_ulong), ("name", ctypes.c_char_p)]
x.XOpenDisplay.restype = ctypes.c_void_p
x.XOpenDisplay.argtypes = [ctypes.c_char_p]
xf.XFixesGetCursorImage.restype = ctypes.POINTER(Image)
xf.XFixesGetCursorImage.argtypes = [ctypes.c_void_p]
d = x.XOpenDisplay(os.environ["DISPLAY"].encode())
if not d:
    sys.exit("cannot open display")
image = xf.XFixesGetCursorImage(d)
if not image:
    sys.exit("no cursor image")
c = image.contents
print(c.width, c.height, c.xhot, c.yhot)
PY
}

# Waits until the pointer's shape is "WIDTH HEIGHT XHOT YHOT".
expect_cursor() {
    local want=$1 seconds=${2:-20}
    wait_until "$seconds" "the pointer's shape is not '$want'" output_is "$want" cursor_shape
}
