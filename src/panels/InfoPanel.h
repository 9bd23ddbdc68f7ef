#pragma once

#include "scene/FormaMain.h"

#include <string_view>

namespace tintaro {

inline constexpr std::string_view ProductPageUrl = "https://tintaro.quelvan.studio/";
inline constexpr std::string_view MakerPageUrl = "https://quelvan.studio/";

void ShowInfoPanel(FormaMain& f);
void registerInfoPanel(FormaMain& f);

} // namespace tintaro
