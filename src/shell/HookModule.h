#pragma once

#include "scene/FormaMain.h"

#include <cstdint>

namespace tintaro {

// Key messages as the keyboard guard sees them.
inline constexpr std::int32_t kKeyDownMessage = 0x100;
inline constexpr std::int32_t kKeyUpMessage = 0x101;
inline constexpr std::int32_t kSysKeyDownMessage = 0x104;
inline constexpr std::int32_t kSysKeyUpMessage = 0x105;
inline constexpr std::uint32_t kAltFlag = 0x20;

// The 20-byte record of a low-level key event: key code, scan code, flags,
// time, extra information; unsigned 32-bit little-endian fields.
struct KeyRecord {
    std::uint32_t vkCode = 0;
    std::uint32_t scanCode = 0;
    std::uint32_t flags = 0;
    std::uint32_t time = 0;
    std::uint32_t extraInfo = 0;
};

// Returns -1 to swallow the event, 0 to pass it on. Swallows the Windows keys,
// the menu key, Shift and Alt themselves and every key pressed with Alt held.
std::int32_t LowLevelKeyFilter(ProgramState& state, std::int32_t code, std::int32_t message,
                               const KeyRecord& event);

// Applies the filter to a key event of the platform; true when it is swallowed.
bool swallowedByGuard(FormaMain& f, const Event& event);

// Hands one platform event to the guard, the router or the shutdown path.
void dispatchEvent(FormaMain& f, const Event& event);

// Waits three seconds on the monotonic clock while events go on being delivered.
void StartupPause(FormaMain& f);

// Delivers events until the monotonic clock reaches `until` (forever when negative).
void deliverEvents(FormaMain& f, double until);

} // namespace tintaro
