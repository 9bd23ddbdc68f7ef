// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/WindowKeyboardGuard.h"

namespace tintaro {

int WindowKeyboardGuard::install() {
    m_lastHandle = m_lastHandle == 0x7FFFFFFF ? 1 : m_lastHandle + 1;
    m_installed = m_lastHandle;
    // In a window for development nothing is held, but the guard still
    // counts as installed so the program's own bookkeeping is the same.
    if (!m_window.windowed()) {
        m_window.holdKeyboard(true);
    }
    return m_installed;
}

bool WindowKeyboardGuard::remove(int handle) {
    if (handle == 0 || handle != m_installed) {
        return false;
    }
    m_installed = 0;
    m_window.holdKeyboard(false);
    return true;
}

} // namespace tintaro
