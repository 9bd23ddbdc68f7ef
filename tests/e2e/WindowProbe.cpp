// SPDX-License-Identifier: GPL-3.0-or-later
// A minimal program on the real SDL platform layer for the window tests: it
// shows a frame of four coloured quarters, paints a black 16 x 16 square
// wherever the left button goes down (a dirty-rectangle update), minimises
// itself on the M key, and writes every event it receives to standard
// output, one line each, so a script can compare them with what it did.
// Keys 1 to 5 choose the arrow, hand, palette, drop and the custom cursor
// loaded from --cursor.
//   window_probe [--windowed] [--title NAME] [--cursor ICON]

#include "platform/sdl/SdlPlatform.h"

#include <cstdio>
#include <cstring>

using namespace tintaro;

namespace {

const char* nameOf(EventType type) {
    switch (type) {
    case EventType::MouseMove:
        return "MouseMove";
    case EventType::MouseDown:
        return "MouseDown";
    case EventType::MouseUp:
        return "MouseUp";
    case EventType::KeyDown:
        return "KeyDown";
    case EventType::KeyUp:
        return "KeyUp";
    case EventType::Quit:
        return "Quit";
    case EventType::Minimised:
        return "Minimised";
    case EventType::Restored:
        return "Restored";
    case EventType::FocusLost:
        return "FocusLost";
    case EventType::FocusGained:
        return "FocusGained";
    case EventType::Exposed:
        return "Exposed";
    case EventType::GuardChanged:
        return "GuardChanged";
    }
    return "?";
}

Image quarters() {
    Image frame(1024, 768);
    for (int y = 0; y < 768; ++y) {
        for (int x = 0; x < 1024; ++x) {
            const bool right = x >= 512;
            const bool lower = y >= 384;
            frame.at(x, y) = !lower ? (right ? rgb(0, 160, 0) : rgb(200, 0, 0))
                                    : (right ? rgb(240, 200, 0) : rgb(0, 0, 220));
        }
    }
    return frame;
}

} // namespace

int main(int argc, char** argv) {
    bool windowed = false;
    const char* title = "Tintaro probe";
    const char* cursorIcon = nullptr;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--windowed") == 0) {
            windowed = true;
        } else if (std::strcmp(argv[i], "--title") == 0 && i + 1 < argc) {
            title = argv[++i];
        } else if (std::strcmp(argv[i], "--cursor") == 0 && i + 1 < argc) {
            cursorIcon = argv[++i];
        }
    }
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    std::string problem;
    auto owner = SdlPlatform::open(windowed, nullptr, problem);
    if (!owner) {
        std::printf("NoWindow %s\n", problem.c_str());
        return 2;
    }
    Platform& platform = owner->platform();
    const int guard = platform.guard.install();
    if (!platform.window.create(title)) {
        std::puts("NoWindow");
        return 2;
    }
    const auto custom = cursorIcon != nullptr ? platform.window.loadCursor(cursorIcon) : nullptr;
    if (cursorIcon != nullptr) {
        std::printf("CustomCursor %d\n", custom ? 1 : 0);
    }
    Image frame = quarters();
    const Rect all{0, 0, 1024, 768};
    platform.window.present(frame, {&all, 1});
    platform.window.show();
    std::printf("FullScreen %d\n", platform.window.enterFullScreen() ? 1 : 0);
    for (;;) {
        const auto event = platform.window.waitEvent(-1);
        if (!event) {
            continue;
        }
        if (event->type == EventType::GuardChanged) {
            static constexpr const char* kStates[] = {"NotHeld", "Asked", "Held"};
            std::printf("GuardChanged %s\n", kStates[static_cast<int>(event->guard)]);
            continue;
        }
        std::printf("%s %d %d %d %d %d %d %d\n", nameOf(event->type), static_cast<int>(event->x),
                    static_cast<int>(event->y), event->button, event->buttons, event->shift, event->key,
                    event->altHeld ? 1 : 0);
        switch (event->type) {
        case EventType::Quit:
            platform.window.leaveFullScreen();
            platform.guard.remove(guard);
            platform.window.destroy();
            return 0;
        case EventType::Exposed:
            platform.window.present(frame, {&all, 1});
            break;
        case EventType::MouseDown:
            if (event->button == kLeftButton) {
                const Rect square{static_cast<int>(event->x) - 8, static_cast<int>(event->y) - 8, 16, 16};
                for (int y = square.y; y < square.y + square.h; ++y) {
                    for (int x = square.x; x < square.x + square.w; ++x) {
                        if (frame.contains(x, y)) {
                            frame.at(x, y) = kBlack;
                        }
                    }
                }
                platform.window.present(frame, {&square, 1});
            }
            break;
        case EventType::KeyDown:
            if (event->key == 'M') {
                platform.window.minimise();
            }
            if (event->key >= '1' && event->key <= '5') {
                constexpr CursorKind kinds[] = {CursorKind::Arrow, CursorKind::Hand, CursorKind::Palette,
                                                CursorKind::Drop, CursorKind::Custom};
                platform.window.setCursor(kinds[event->key - '1'], custom.get());
            }
            break;
        default:
            break;
        }
    }
}
