// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <string>

namespace tintaro {

// A small window that says one thing and has one button, drawn in this
// process: no helper process that could outlive the program, keep what it
// inherited (the one-copy lock) or come up twice. Return, Enter, Escape and
// Space close it like the button; so do the window manager's close button
// and a request to end the program. Without a window manager it takes the
// keyboard focus itself.
// Returns once it is closed, or at once when it cannot be shown.
void runMessageWindow(const std::string& title, const std::string& text);

} // namespace tintaro
