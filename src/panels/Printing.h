#pragma once

#include "scene/FormaMain.h"

#include <string>

namespace tintaro {

// Prints the canvas as shown on the default printer, after three seconds of notice.
void PrintPicture(FormaMain& f);

// MY_PICTURE under the application directory, or under the user's cache
// directory when the application directory is not writable (an installed copy).
std::string scratchDirectory(FormaMain& f);

} // namespace tintaro
