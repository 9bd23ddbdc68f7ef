#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Counts how often the whole Tintaro process wakes up while nothing happens:
# the context switches of every thread (voluntary and involuntary, from
# /proc/PID/task/*/status) over a window of idle time, as wake-ups per
# minute. Measured twice: after the start-up, and after one sound effect has
# played and the audio device has had time to go quiet. Runs the real
# program windowed under Xvfb; prints figures, asserts nothing.
# usage: bench/idle_wakeups.sh BUILD_DIR [SECONDS] [AUDIO_DRIVER]
#   AUDIO_DRIVER is SDL's name for it (default disk, writing to /dev/null;
#   pulseaudio or alsa on a desktop with sound).
set -euo pipefail
build="$(cd "${1:-build}" && pwd)"
seconds="${2:-60}"
driver="${3:-disk}"
work="$(mktemp -d)"
trap 'kill "${app:-0}" "${xvfb:-0}" 2>/dev/null || true; rm -rf "$work"' EXIT

display=":$((90 + RANDOM % 100))"
Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
export DISPLAY="$display" SDL_AUDIODRIVER="$driver" SDL_DISKAUDIOFILE=/dev/null
for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done

# Context switches of each live thread: "TID NAME COUNT" lines.
switches() {
    local task
    for task in /proc/"$app"/task/*; do
        awk -v tid="${task##*/}" -v name="$(cat "$task/comm" 2>/dev/null || echo gone)" \
            '/^(non)?voluntary_ctxt_switches:/ { n += $2 } END { print tid, name, n + 0 }' \
            "$task/status" 2>/dev/null || true
    done
}

# Wake-ups per minute of the whole process over the window, then per thread.
measure() {
    local label=$1 before="$work/before" after="$work/after"
    switches >"$before"
    sleep "$seconds"
    switches >"$after"
    awk -v label="$label" -v s="$seconds" '
        NR == FNR { base[$1] = $3; next }
        { d = $3 - ($1 in base ? base[$1] : 0); total += d; line[$1] = sprintf("    %-16s %8.1f", $2, d * 60 / s) }
        END {
            printf "%-34s %8.1f wake-ups per minute\n", label ":", total * 60 / s
            for (t in line) print line[t]
        }' "$before" "$after"
}

"$build/app/tintaro" --windowed >"$work/app.log" 2>&1 &
app=$!
sleep 7.5 # the two start-up pauses
sleep 6   # and a few seconds of silence
echo "Tintaro idle, audio driver $driver, ${seconds} s windows"
measure "idle after the start-up"
xdotool mousemove 50 717 click 1 # red: a colour's sound effect
sleep 8  # the effect and the silence after it
measure "idle after one sound effect"
