// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "shell/FormaMain.h"

namespace tintaro {

// The window's load handler: the start-up sequence.
void loadFormaMain(FormaMain& f);

} // namespace tintaro
