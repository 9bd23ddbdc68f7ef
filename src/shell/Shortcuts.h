// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "shell/FormaMain.h"

namespace tintaro {

// The Ctrl+P, Ctrl+X and Ctrl+R handlers of the window and of the 20 controls that have one.
void registerShortcuts(FormaMain& f);

} // namespace tintaro
