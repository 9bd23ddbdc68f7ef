// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "scene/SceneContext.h"

#include <string_view>

namespace tintaro {

inline constexpr std::string_view ProductPageUrl = "https://tintaro.quelvan.studio/";
inline constexpr std::string_view MakerPageUrl = "https://quelvan.studio/";

void ShowInfoPanel(SceneContext& f);
void registerInfoPanel(SceneContext& f);

} // namespace tintaro
