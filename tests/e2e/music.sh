#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The music button in the real program, heard through SDL's disk audio
# driver: a click starts the tune, a second click silences it, and a short
# tune starts again after its end, within one 500 ms tick on a machine
# that keeps up.
#
#   music.sh APP_DIR FIXTURE_MID
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/ui.sh"

app_dir=$(cd "$1" && pwd) || fail "no application directory $1"
fixture=$2
[ -x "$app_dir/tintaro" ] || fail "no program in $app_dir"
[ -f "$fixture" ] || fail "no fixture tune $fixture"

readonly music_x=958 music_y=524 # the centre of MusicOn
readonly rate=$AUDIO_RATE

e2e_init
ui_require
start_xvfb

# A copy of the application directory whose tune is the short fixture.
app="$E2E_TMP/app"
copy_app "$app_dir" "$app" MUSIC MY_PICTURE
cp "$fixture" "$app/MUSIC/001.MID"

start_program "$app" --windowed

on=$(audio_frames)
click $music_x $music_y
wait_audio_frames $((rate * 5))
# Away and back: xdotool's synchronous move waits long for a pointer that is
# already in place.
move 600 700
off=$(audio_frames)
click $music_x $music_y
wait_audio_frames $((rate * 6 / 10))

expect_audio "first second of the tune" $((on + rate / 10)) $((on + rate)) above -45
expect_audio "after the second click" $((off + rate / 5)) $(audio_frames) below -90

# The tune's length from the file, and the moments it began to sound: the
# restart follows the end.
"$UI_PY" - "$E2E_AUDIO" "$on" "$off" "$fixture" <<'PY' || fail "the tune did not restart in time"
import array, struct, sys

path, on, off, midi_path = sys.argv[1], int(sys.argv[2]), int(sys.argv[3]), sys.argv[4]
rate = 44100

def tune_seconds(data):
    division = struct.unpack(">H", data[12:14])[0]
    events = []  # (tick, tempo or None)
    pos, end_tick = 14, 0
    while pos + 8 <= len(data):
        length = struct.unpack(">I", data[pos + 4:pos + 8])[0]
        track, pos = data[pos + 8:pos + 8 + length], pos + 8 + length
        i = tick = running = 0
        def varlen():
            nonlocal i
            value = 0
            while True:
                byte = track[i]; i += 1
                value = (value << 7) | (byte & 0x7F)
                if not byte & 0x80:
                    return value
        while i < len(track):
            tick += varlen()
            status = track[i]
            if status & 0x80:
                i += 1
                running = status if status < 0xF0 else running
            else:
                status = running
            if status == 0xFF:
                kind = track[i]; i += 1
                n = varlen()
                if kind == 0x51:
                    events.append((tick, int.from_bytes(track[i:i + 3], "big")))
                i += n
            elif status in (0xF0, 0xF7):
                i += varlen()
            else:
                i += 1 if (status & 0xF0) in (0xC0, 0xD0) else 2
        end_tick = max(end_tick, tick)
    seconds, last_tick, tempo = 0.0, 0, 500000
    for tick, new_tempo in sorted(events) + [(end_tick, None)]:
        seconds += (tick - last_tick) * tempo / division / 1e6
        last_tick, tempo = tick, new_tempo or tempo
    return seconds

with open(midi_path, "rb") as f:
    length = tune_seconds(f.read())
with open(path, "rb") as f:
    f.seek(on * 4)
    samples = array.array("h", f.read((off - on) * 4))
threshold = int(32768 * 10 ** (-50 / 20))
loud = [max(abs(samples[2 * k]), abs(samples[2 * k + 1])) > threshold for k in range(len(samples) // 2)]
onsets, quiet = [], rate  # a start counts after at least 0.15 s of quiet
for k, sounding in enumerate(loud):
    if sounding:
        if quiet >= rate * 0.15:
            onsets.append(k)
        quiet = 0
    else:
        quiet += 1
if len(onsets) < 2:
    sys.exit("# fewer than two starts of the tune: %s" % onsets)
period = (onsets[1] - onsets[0]) / rate
gap = period - length
print("# tune %.3f s, started again %.3f s after it began: %.3f s after its end" % (length, period, gap),
      file=sys.stderr)
# How soon it restarts is a figure for the notes (one 500 ms tick and the
# output's latency, longer on a loaded machine); what must hold is that it
# does restart, and not before the tune has ended.
sys.exit(0 if gap >= -0.05 else 1)
PY

pass
