// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "shell/FormaMain.h"

namespace tintaro {

// Compares the length of every checked picture with the manifest and ends the
// program at the first difference, with one line on standard error and the
// same sentence in a message window; the end comes when that is closed.
void VerifyAssetFiles(FormaMain& f);

} // namespace tintaro
