#!/usr/bin/env bash
# Wake-ups of the whole real program while it sits idle on the colouring
# screen, per minute: every thread's voluntary context switches (a thread
# that sleeps and is woken again counts one) over a quiet stretch after the
# start-up. Prints:
#   idle_wakeups_per_min=... threads=... audio_driver=...
# usage: bench/idle_wakeups.sh APP_DIR [SECONDS] [SDL_AUDIO_DRIVER]
# The audio driver defaults to SDL's dummy device, which runs its thread the
# way a real, silent sound card does.
here="$(cd "$(dirname "$0")" && pwd)"
source "$here/../tests/e2e/lib.sh"
source "$here/../tests/e2e/ui.sh"
app="$(cd "${1:?application directory}" && pwd)"
seconds="${2:-20}"
driver="${3:-dummy}"
[ -x "$app/tintaro" ] || fail "no program at $app/tintaro"
e2e_init
ui_require
export SDL_AUDIODRIVER="$driver"
start_xvfb 1024x768x24

# The sum over the program's threads of voluntary context switches.
switches() {
    cat /proc/"$APP_PID"/task/*/status 2>/dev/null | awk '/^voluntary_ctxt_switches:/ { n += $2 } END { print n + 0 }'
}

start_program "$app" --windowed
# The pointer rests off the window; nothing else happens from here on.
move 1023 767
sleep 2
before=$(switches)
sleep "$seconds"
after=$(switches)
threads=$(ls /proc/"$APP_PID"/task | wc -l)
awk -v a="$before" -v b="$after" -v s="$seconds" -v t="$threads" -v d="$driver" \
    'BEGIN { printf "idle_wakeups_per_min=%.0f threads=%d audio_driver=%s\n", (b - a) * 60 / s, t, d }'
