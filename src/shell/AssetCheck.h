#pragma once

#include "scene/FormaMain.h"

namespace tintaro {

// Compares the length of every checked picture with the manifest and ends the
// program at the first difference, with one line on standard error.
void VerifyAssetFiles(FormaMain& f);

} // namespace tintaro
