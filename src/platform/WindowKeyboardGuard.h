// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/Platform.h"

namespace tintaro {

// A window that can hold the keyboard for the guard: an X11 grab, or on
// Wayland the compositor's shortcuts held for it.
class HoldingWindow : public Window {
  public:
    virtual void holdKeyboard(bool wanted) = 0;
    // A plain window for development: nothing is ever held.
    virtual bool windowed() const = 0;
};

// Installing the guard holds the keyboard on the window; removing it lets go.
class WindowKeyboardGuard final : public KeyboardGuard {
  public:
    explicit WindowKeyboardGuard(HoldingWindow& window) : m_window(window) {}
    int install() override;
    bool remove(int handle) override;

  private:
    HoldingWindow& m_window;
    int m_installed = 0;
    int m_lastHandle = 0;
};

} // namespace tintaro
