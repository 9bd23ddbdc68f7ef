// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/Platform.h"
#include "platform/sdl/SdlWindow.h"

namespace tintaro {

// Installing the guard holds the keyboard on the window; removing it lets go.
class SdlKeyboardGuard final : public KeyboardGuard {
  public:
    explicit SdlKeyboardGuard(SdlWindow& window) : m_window(window) {}
    int install() override;
    bool remove(int handle) override;

  private:
    SdlWindow& m_window;
    int m_installed = 0;
    int m_lastHandle = 0;
};

} // namespace tintaro
