#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Start-up of the real program, full screen on a private X server: seconds
# from the launch to the main window and to the first click that colours the
# canvas, and what the start-up costs beyond its first three-second pause
# (the second pause does not hold clicks back). Repeated, the median printed:
#   shown_s=... usable_s=... overhead_s=... window_to_usable_s=...
# usage: bench/startup.sh BUILD_DIR [ROUNDS]
here="$(cd "$(dirname "$0")" && pwd)"
source "$here/../tests/e2e/lib.sh"
build="$(cd "${1:?build directory}" && pwd)"
rounds="${2:-5}"
app="$build/app"
probe="$build/bin/startup_probe"
[ -x "$app/tintaro" ] || fail "no program at $app/tintaro"
[ -x "$probe" ] || fail "no probe at $probe (build the startup_probe target)"
e2e_init
export SDL_AUDIODRIVER=dummy

results="$E2E_TMP/startup.txt"
for _ in $(seq "$rounds"); do
    start_xvfb 1024x768x24
    # A white point of drawing 01 near the canvas's top left corner, away
    # from the splash of the first pause.
    "$probe" $((30 + 6)) $((29 + 6)) "$app/tintaro" >>"$results" || fail "the probe failed"
    kill "$XVFB_PID"
    wait "$XVFB_PID" 2>/dev/null || true
    XVFB_PID=""
done

python3 - "$results" <<'PY'
import statistics, sys
rows = [dict(kv.split("=") for kv in line.split()) for line in open(sys.argv[1]) if line.strip()]
shown = statistics.median(float(r["shown"]) for r in rows)
usable = statistics.median(float(r["usable"]) for r in rows)
gap = statistics.median(float(r["usable"]) - float(r["shown"]) for r in rows)
# The first pause is three seconds of the start-up sequence by design.
print("shown_s=%.3f usable_s=%.3f overhead_s=%.3f window_to_usable_s=%.3f" % (shown, usable, usable - 3.0, gap))
PY
