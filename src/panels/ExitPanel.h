#pragma once

#include "scene/FormaMain.h"

namespace tintaro {

void ShowExitPanel(FormaMain& f);
void registerExitPanel(FormaMain& f);

} // namespace tintaro
