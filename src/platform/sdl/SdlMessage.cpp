// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/sdl/MessageWindow.h"
#include "platform/sdl/SdlWindow.h"

namespace tintaro {

void SdlWindow::showMessage(const std::string& title, const std::string& text) {
    // A message is the last thing the program shows, and whoever reads it
    // may need the keyboard (to answer it, or for anything else on the
    // desktop): the hold goes first and is not taken again.
    holdKeyboard(false);
    runMessageWindow(title, text);
}

} // namespace tintaro
