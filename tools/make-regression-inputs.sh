#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Makes the odd files that fuzz/regressions/ keeps, each from a shipped file
# with a few bytes changed, the way the inputs that once broke the program
# were found. Run from anywhere; it rewrites fuzz/regressions/.
#   tools/make-regression-inputs.sh
set -euo pipefail
cd "$(dirname "$0")/.."
python3 - <<'PY'
import pathlib, struct

def fmt_offset(wav):
    at = 12
    while at + 8 <= len(wav):
        size = struct.unpack_from("<I", wav, at + 4)[0]
        if wav[at:at + 4] == b"fmt ":
            return at + 8
        at += 8 + size + (size & 1)
    raise SystemExit("no fmt chunk")

out = pathlib.Path("fuzz/regressions/wav")
out.mkdir(parents=True, exist_ok=True)
source = pathlib.Path("assets/SOUND/CRVENA.WAV").read_bytes()
fmt = fmt_offset(source)
# The same length (so the asset check would pass), a header claiming 1 Hz:
# resampled to the device's rate it was 870 s of sound, 153 MB and 15 s of
# work at the child's click.
for name, offset, value, size in [("rate-1hz.wav", 4, 1, 4), ("channels-200.wav", 2, 200, 2),
                                  ("bits-4.wav", 14, 4, 2)]:
    wav = bytearray(source)
    struct.pack_into("<I" if size == 4 else "<H", wav, fmt + offset, value)
    (out / name).write_bytes(bytes(wav))
    print(out / name)
PY
