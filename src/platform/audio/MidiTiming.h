// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/Platform.h"

namespace tintaro::audio {

// A standard MIDI file's timing made playable before the synth sees it.
// A division of 0 ticks (or SMPTE timing, which the synth cannot play) has no
// meaning: false, and the tune is treated as unreadable. A tempo event of 0
// microseconds per quarter note would play every note at once; it is set to
// the file format's default tempo (120 beats a minute), as if it were absent.
// Any other content is left for the synth to judge; the walk stops at the
// first event that runs past its track, so no byte outside `tune` is read.
bool makeTimingPlayable(Bytes& tune);

} // namespace tintaro::audio
