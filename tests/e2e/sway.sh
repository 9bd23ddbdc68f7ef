# SPDX-License-Identifier: GPL-3.0-or-later
# A private headless sway for the end-to-end tests and the benchmarks: one
# 1024 x 768 output drawn in software, XWayland on, and one virtual keyboard
# and one virtual pointer of our own (wayland/VirtualInput.c) attached for
# the whole run. Sway refuses to run as root, so sway, the input helper and
# the program run as nobody, from a copy of the application directory in a
# folder nobody owns. Source it after lib.sh and call e2e_init first:
#
#   sway_init APP_DIR HELPER        # nobody's folder; SWAY_APP, the copy
#   start_sway [CONFIG_LINE...]     # exports WAYLAND_DISPLAY, DISPLAY, SWAYSOCK
#   start_input                     # then: input key ctrl+x | move X Y | click
#   start_as_nobody [VAR=VALUE...]  # the program, in a session of its own
#   as_nobody COMMAND...
#   sway_window KEY VALUE / app_window / expect_app_window SHELL
#   screenshot FILE                 # grim (headless sway draws the pointer)

SWAY_DIR=""
SWAY_APP=""
SWAY_PID=""
SWAY_INPUT_PID=""
SWAY_CHILDREN=()

as_nobody() {
    setpriv --reuid=nobody --regid=nogroup --clear-groups "$@"
}

_sway_cleanup() {
    local status=$? pid
    # A child that already ended must not stop the rest of the cleanup.
    set +e
    for pid in "${SWAY_CHILDREN[@]}" $SWAY_INPUT_PID; do
        kill "$pid" 2>/dev/null
    done
    # Sway takes its XWayland server with it.
    [ -n "$SWAY_PID" ] && kill "$SWAY_PID" 2>/dev/null && wait "$SWAY_PID" 2>/dev/null
    (exit "$status")
    _e2e_cleanup
}

sway_init() {
    local app=$1 helper=$2
    require_tools sway swaymsg grim Xwayland setpriv python3
    [ -x "$helper" ] || fail "no input helper at $helper"
    trap _sway_cleanup EXIT
    chmod 0755 "$E2E_TMP"
    SWAY_DIR="$E2E_TMP/nobody"
    SWAY_APP="$SWAY_DIR/app"
    mkdir -p "$SWAY_DIR/run" "$SWAY_DIR/home" "$SWAY_DIR/shots"
    chmod 0700 "$SWAY_DIR/run"
    cp -r "$app" "$SWAY_APP"
    cp "$helper" "$SWAY_DIR/virtual_input"
    chown -R nobody:nogroup "$SWAY_DIR"
    chmod -R a+rX "$SWAY_APP"
    export XDG_RUNTIME_DIR="$SWAY_DIR/run" HOME="$SWAY_DIR/home" XDG_CACHE_HOME="$SWAY_DIR/home/.cache"
    # The disk audio driver's file would have to be nobody's; the sound is not
    # looked at here.
    export SDL_AUDIODRIVER=dummy
    unset SDL_DISKAUDIOFILE WAYLAND_DISPLAY DISPLAY
}

# Extra configuration lines (bindings) may follow as arguments.
start_sway() {
    {
        echo "output HEADLESS-1 resolution 1024x768 position 0 0"
        echo "xwayland force"
        echo "default_border none"
        echo "focus_follows_mouse no"
        printf '%s\n' "$@"
        # XWayland's display is known inside sway only.
        echo "exec printf %s \"\$DISPLAY\" >$SWAY_DIR/display"
    } >"$SWAY_DIR/sway.conf"
    env WLR_BACKENDS=headless WLR_LIBINPUT_NO_DEVICES=1 WLR_RENDERER=pixman \
        setpriv --reuid=nobody --regid=nogroup --clear-groups sway -c "$SWAY_DIR/sway.conf" \
        >"$E2E_TMP/sway.log" 2>&1 &
    SWAY_PID=$!
    wait_until 30 "sway did not start" _sway_ready
    export SWAYSOCK="$XDG_RUNTIME_DIR/sway-ipc.$(id -u nobody).$SWAY_PID.sock"
    WAYLAND_DISPLAY=$(_wayland_socket)
    DISPLAY=$(cat "$SWAY_DIR/display")
    export WAYLAND_DISPLAY DISPLAY
}

_wayland_socket() {
    ls "$XDG_RUNTIME_DIR" | grep -x 'wayland-[0-9]*' | head -n1
}

_sway_ready() {
    process_runs "$SWAY_PID" || { echo "sway ended: $(tail -n3 "$E2E_TMP/sway.log")" >&2; return 1; }
    [ -S "$XDG_RUNTIME_DIR/sway-ipc.$(id -u nobody).$SWAY_PID.sock" ] && [ -s "$SWAY_DIR/display" ] &&
        [ -n "$(_wayland_socket)" ]
}

start_input() {
    coproc SWAY_INPUT {
        exec setpriv --reuid=nobody --regid=nogroup --clear-groups "$SWAY_DIR/virtual_input" 1024 768 \
            2>"$E2E_TMP/input.log"
    }
    local reply=""
    read -r -t 30 reply <&"${SWAY_INPUT[0]}" || true
    [ "$reply" = ready ] || fail "the input helper did not start: $(cat "$E2E_TMP/input.log")"
}

# Sends one command to the input helper and returns once sway has it.
input() {
    local answer=""
    echo "$*" >&"${SWAY_INPUT[1]}"
    read -r -t 30 answer <&"${SWAY_INPUT[0]}" || true
    [ "$answer" = ok ] || fail "input '$*': ${answer:-no answer} $(cat "$E2E_TMP/input.log")"
}

start_as_nobody() {
    start_app "$(command -v setpriv)" --reuid=nobody --regid=nogroup --clear-groups env "$@" "$SWAY_APP/tintaro"
}

# The screen as sway composes it, pointer included.
screenshot() {
    as_nobody grim "$SWAY_DIR/shots/shot.png" && cp "$SWAY_DIR/shots/shot.png" "$1" || fail "grim failed"
}

# "SHELL FULLSCREEN FOCUSED X Y W H" of the first window in sway's tree
# whose KEY (pid, name) is VALUE; or only its FIELD (window: the X window).
#   sway_window KEY VALUE [FIELD]
sway_window() {
    as_nobody swaymsg -r -t get_tree | python3 -c '
import json, sys
key, value, field = sys.argv[1], sys.argv[2], sys.argv[3:]
def walk(node):
    yield node
    for child in node.get("nodes", []) + node.get("floating_nodes", []):
        yield from walk(child)
for node in walk(json.load(sys.stdin)):
    if node.get("shell") and str(node.get(key)) == value:
        r = node["rect"]
        if field:
            print(node.get(field[0]))
        else:
            print(node["shell"], node.get("fullscreen_mode"), node.get("focused"), r["x"], r["y"], r["width"], r["height"])
        sys.exit(0)
sys.exit("no window whose %s is %s" % (key, value))' "$@"
}

app_window() {
    sway_window pid "$APP_PID"
}

# Waits until the program's window is full screen and focused, on SHELL
# (xdg_shell natively, xwayland through XWayland).
expect_app_window() {
    wait_until 30 "the program's window is not full screen and focused on $1" \
        output_is "$1 1 True 0 0 1024 768" app_window
}
