#pragma once

#include "scene/FormaMain.h"

namespace tintaro {

void registerThumbnailHighlight(FormaMain& f);

// Gives the thumbnail highlighted last its plain picture again.
void mouse_move_galerija1_bele(FormaMain& f);

} // namespace tintaro
