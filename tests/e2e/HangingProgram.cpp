// SPDX-License-Identifier: GPL-3.0-or-later
// The real program with one addition, for the exit tests only: F12 stops
// its main thread for good, in the middle of handling that key, the way an
// endless loop in a decoder or a print server that never answers would.
// Nothing of the program runs any more, and the keyboard stays held; the
// test then shows that SIGTERM still ends the process and frees it.
// It is built as a test target and never installed.

#include "platform/sdl/SdlPlatform.h"
#include "shell/Program.h"

#include <chrono>
#include <cstdio>
#include <thread>

using namespace tintaro;

namespace {

constexpr int kF12 = 123;

// Passes everything through to the real window, except that F12 never returns.
class HangingWindow final : public Window {
  public:
    explicit HangingWindow(Window& real) : m_real(real) {}

    bool create(const std::string& title) override { return m_real.create(title); }
    void show() override { m_real.show(); }
    void hide() override { m_real.hide(); }
    void minimise() override { m_real.minimise(); }
    bool enterFullScreen() override { return m_real.enterFullScreen(); }
    void leaveFullScreen() override { m_real.leaveFullScreen(); }
    void present(const Image& frame, std::span<const Rect> dirty) override { m_real.present(frame, dirty); }
    std::unique_ptr<Cursor> loadCursor(const std::string& iconPath) override {
        return m_real.loadCursor(iconPath);
    }
    void setCursor(CursorKind kind, const Cursor* custom) override { m_real.setCursor(kind, custom); }
    void destroy() override { m_real.destroy(); }
    void showMessage(const std::string& title, const std::string& text) override {
        m_real.showMessage(title, text);
    }

    std::optional<Event> waitEvent(int timeoutMs) override {
        auto event = m_real.waitEvent(timeoutMs);
        if (event && event->type == EventType::KeyDown && event->key == kF12) {
            std::puts("hanging");
            std::fflush(stdout);
            for (;;) {
                std::this_thread::sleep_for(std::chrono::hours(1));
            }
        }
        return event;
    }

  private:
    Window& m_real;
};

} // namespace

int main() {
    auto owner = SdlPlatform::create(false);
    Platform& real = owner->platform();
    HangingWindow window(real.window);
    Platform platform{real.files, real.codec,  window,       real.sound, real.music,   real.processes,
                      real.clock, real.random, real.printer, real.guard, real.instance};
    return runProgram(platform);
}
