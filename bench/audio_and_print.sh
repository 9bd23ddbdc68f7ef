#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The figures of the audio device's idle closing and of printing, in one run:
#   - wake-ups per minute of the whole idle process (bench/idle_wakeups.sh)
#     on SDL's disk driver and on PulseAudio;
#   - the first sound effect after the device went quiet: the request, and
#     when its first loud sample is heard (effect_after_idle);
#   - Ctrl+P with a print server that never answers (print_freeze).
# PulseAudio runs privately here with a null sink, whose monitor parec
# records, so no sound card is needed; without pulseaudio installed those
# rows are left out.
# usage: bench/audio_and_print.sh BUILD_DIR [SECONDS]
#   BUILD_DIR configured with -DTINTARO_BENCH=ON; SECONDS per idle window (default 60).
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
build="$(cd "${1:-build}" && pwd)"
seconds="${2:-60}"
work="$(mktemp -d)"
cleanup() {
    [ -n "${parec:-}" ] && kill "$parec" 2>/dev/null
    [ -n "${pulse:-}" ] && kill "$pulse" 2>/dev/null && wait "$pulse" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

drivers=(disk)
if command -v pulseaudio >/dev/null && command -v parec >/dev/null; then
    mkdir -m 700 "$work/pulse"
    export XDG_RUNTIME_DIR="$work/pulse" PULSE_SERVER="unix:$work/pulse/pulse/native"
    HOME="$work/pulse" pulseaudio -n --daemonize=no --exit-idle-time=-1 --disable-shm=yes \
        --load=module-native-protocol-unix --load=module-null-sink >"$work/pulse.log" 2>&1 &
    pulse=$!
    for _ in $(seq 50); do pactl info >/dev/null 2>&1 && break; sleep 0.1; done
    if pactl info >/dev/null 2>&1; then
        drivers+=(pulseaudio)
    else
        echo "# PulseAudio did not start: $(tail -n1 "$work/pulse.log")"
    fi
fi

for driver in "${drivers[@]}"; do
    "$here/idle_wakeups.sh" "$build" "$seconds" "$driver"
    echo
done

SDL_AUDIODRIVER=disk "$build/bin/effect_after_idle" 10 2>&1 | grep -v '^CRITICAL'
if [[ " ${drivers[*]} " == *" pulseaudio "* ]]; then
    parec -d null.monitor --raw --format=s16le --rate=44100 --channels=2 --latency-msec=5 >"$work/monitor.raw" &
    parec=$!
    sleep 0.5 # the recording under way
    SDL_AUDIODRIVER=pulseaudio "$build/bin/effect_after_idle" 10 "$work/monitor.raw"
    kill "$parec"
    parec=""
fi
echo
"$build/bin/print_freeze" 3
