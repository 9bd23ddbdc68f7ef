// SPDX-License-Identifier: GPL-3.0-or-later

#include "shell/HookModule.h"

namespace tintaro {

namespace {

constexpr int kShiftKey = 16;
constexpr int kAltKey = 18;
constexpr int kLeftWindowsKey = 91;
constexpr int kRightWindowsKey = 92;
constexpr int kMenuKey = 93;

} // namespace

bool LowLevelKeyFilter(int key, bool altHeld) {
    return altHeld || key == kMenuKey || key == kRightWindowsKey || key == kLeftWindowsKey ||
           key == kAltKey || key == kShiftKey;
}

bool swallowedByGuard(const FormaMain& f, const Event& event) {
    if (f.state.KeyboardHookHandle == 0) {
        return false;
    }
    return LowLevelKeyFilter(event.key, event.altHeld);
}

} // namespace tintaro
