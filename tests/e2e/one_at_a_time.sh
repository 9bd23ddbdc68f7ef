#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# One copy at a time: a second start while Tintaro runs (a child's double
# click on the icon) ends at once with status 0, says nothing, starts nothing
# and leaves the first copy with its one window, only brought forward
# (forward.sh looks at that). A copy that dies (SIGKILL, during its
# first pause, while its splash program still runs) leaves no lock behind:
# the next start runs.
#   one_at_a_time.sh APP_DIR
source "$(dirname "$0")/lib.sh"
app=${1:?application directory}
[ -x "$app/tintaro" ] || fail "no program at $app/tintaro"
e2e_init
start_xvfb 1024x768x24
program=$(app_command "$app")

# A copy killed in its first pause, its splash still up.
start_app "$program" --windowed
wait_window '^Tintaro$'
crashed_session=$APP_SID
kill -KILL "$APP_PID"
expect_exit "$APP_PID" 137
splash_alive=$(ps -eo sid=,comm= | awk -v sid="$crashed_session" '$1 == sid && $2 == "COLORS.EXE"' | wc -l)
note "the killed copy's splash program still ran at the next start: $([ "$splash_alive" -gt 0 ] && echo yes || echo no)"

# The next start runs in full.
start_app "$program" --windowed
wait_window "$MAIN_WINDOW"
first_window=$WINDOW_ID
wait_idle

# A second start while it runs: done at once, status 0, no output, and
# nothing of its own left running (its session is empty).
second_out="$E2E_TMP/second.log"
SDL_AUDIODRIVER=dummy setsid "${AS_APP_USER[@]}" "$program" --windowed >"$second_out" 2>&1 &
second=$!
expect_exit "$second" 0
[ ! -s "$second_out" ] || fail "the second start said: $(head -c 300 "$second_out")"
_second_session_empty() {
    local left
    left=$(ps -eo pid=,sid=,comm= | awk -v sid="$second" '$2 == sid')
    [ -z "$left" ] || { echo "$left" >&2; return 1; }
}
wait_until 10 "the second start left processes behind" _second_session_empty

# The first copy runs on, with its one window, and still only waits for input.
process_runs "$APP_PID" || fail "the first copy ended"
windows=$(xdotool search --onlyvisible --name "$MAIN_WINDOW" | wc -l)
[ "$windows" -eq 1 ] || fail "$windows main windows are visible, expected 1"
[ "$(xdotool search --onlyvisible --name "$MAIN_WINDOW")" = "$first_window" ] || fail "the main window changed"
xdotool search --onlyvisible --name '^Tintaro$' >/dev/null 2>&1 && fail "a splash came up for the second start"
main_thread_waits_for_events "$APP_PID" || fail "the first copy is busy after the second start"

kill -TERM "$APP_PID"
expect_exit "$APP_PID" 0
expect_no_process_left
pass
