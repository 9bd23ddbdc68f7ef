#include "shell/HookModule.h"
#include "support/Harness.h"

#include <gtest/gtest.h>

namespace tintaro::test {
namespace {

using C = ControlId;

TEST(KeyboardGuard, FilterDecisionTable) {
    struct Case {
        std::int32_t code;
        std::int32_t message;
        std::uint32_t vk;
        std::uint32_t flags;
        std::int32_t result;
        bool copied;
    };
    const Case cases[] = {
        {0, kKeyDownMessage, 91, 0, -1, true},            // left Windows key
        {0, kKeyUpMessage, 92, 0, -1, true},              // right Windows key, on the way up too
        {0, kKeyDownMessage, 93, 0, -1, true},            // menu key
        {0, kKeyDownMessage, 16, 0, -1, true},            // Shift under its own code
        {0, kKeyDownMessage, 18, 0, -1, true},            // Alt under its own code
        {0, kSysKeyDownMessage, 9, kAltFlag, -1, true},   // Alt+Tab
        {0, kSysKeyDownMessage, 115, kAltFlag, -1, true}, // Alt+F4
        {0, kSysKeyUpMessage, 27, kAltFlag, -1, true},    // Alt+Esc
        {0, kKeyDownMessage, 27, 0, 0, true},             // Esc passes
        {0, kKeyDownMessage, 17, 0, 0, true},             // Ctrl passes
        {0, kKeyDownMessage, 88, 0, 0, true},             // the X of Ctrl+X passes
        {0, kKeyDownMessage, 160, 0, 0, true},            // left Shift's own code is not listed
        {1, kKeyDownMessage, 91, 0, 0, false},            // another hook code: straight through
        {0, 0x0200, 91, 0, 0, false},                     // another message: straight through
    };
    for (const auto& c : cases) {
        ProgramState state;
        KeyRecord record;
        record.vkCode = c.vk;
        record.flags = c.flags;
        EXPECT_EQ(LowLevelKeyFilter(state, c.code, c.message, record), c.result) << "vk " << c.vk;
        EXPECT_EQ(state.KeyEventCopy[0] == c.vk, c.copied) << "vk " << c.vk;
    }
}

TEST(KeyboardGuard, SwallowedKeysNeverReachAHandler) {
    Harness h;
    h.key('X', kCtrl | kAlt, true);
    EXPECT_FALSE(h.f.scene.control(C::Izlaz).visible);
    h.key('X', kCtrl);
    EXPECT_TRUE(h.f.scene.control(C::Izlaz).visible);
}

TEST(Shortcuts, CtrlAloneOpensEachPanelAndNothingElseDoes) {
    struct Case {
        int key;
        int shift;
        ControlId opens; // Slika: nothing opens
    };
    const Case cases[] = {{'X', kCtrl, C::Izlaz},
                          {'R', kCtrl, C::Registered},
                          {'X', kCtrl | kShift, C::Slika},
                          {'R', 0, C::Slika},
                          {'Q', kCtrl, C::Slika}};
    for (const auto& c : cases) {
        Harness h;
        h.key(c.key, c.shift);
        EXPECT_EQ(h.f.scene.control(C::Izlaz).visible, c.opens == C::Izlaz) << char(c.key) << " " << c.shift;
        EXPECT_EQ(h.f.scene.control(C::Registered).visible, c.opens == C::Registered) << char(c.key);
    }
}

TEST(Shortcuts, WorkFromEveryColouringControlThatHoldsTheFocus) {
    for (auto id : {C::Slika, C::MoreImages, C::MuteWave, C::Rubber, C::kapljica, C::PaletaPink}) {
        Harness h;
        h.press(static_cast<float>(h.f.scene.control(id).rect.x + 2),
                static_cast<float>(h.f.scene.control(id).rect.y + 2), kMiddleButton);
        h.release(0, 0, kMiddleButton);
        ASSERT_EQ(h.f.router.focus(), id);
        h.key('R', kCtrl);
        EXPECT_TRUE(h.f.scene.control(C::Registered).visible) << kControlTable[index(id)].name;
    }
}

TEST(Shortcuts, PanelControlsHaveNoKeyHandler) {
    Harness h;
    h.key('R', kCtrl);
    h.press(640, 280, kMiddleButton); // Zatvori takes the focus without a click
    h.release(640, 280, kMiddleButton);
    ASSERT_EQ(h.f.router.focus(), C::Zatvori);
    h.key('X', kCtrl);
    EXPECT_FALSE(h.f.scene.control(C::Izlaz).visible);
}

// Ways of reaching an open information panel with no control holding the
// focus: its close mark hid the control that had it, or the panel opened
// during the start-up's second pause, before any click.
enum class PanelWay { ClosedAndOpenedAgain, OpenedDuringSecondPause, OpenedDuringPauseThenClosedAndOpened };

void ctrlKeyAt(Harness& h, double at, int vk) {
    h.fake.window.scheduled.push_back({at, keyDown(vk, kCtrl)});
    h.fake.window.scheduled.push_back({at + 0.05, keyUp(vk, kCtrl)});
}

TEST(Shortcuts, KeepWorkingOverAPanelUntilOneOfItsControlsIsClicked) {
    for (auto way : {PanelWay::ClosedAndOpenedAgain, PanelWay::OpenedDuringSecondPause,
                     PanelWay::OpenedDuringPauseThenClosedAndOpened}) {
        const int n = static_cast<int>(way);
        Harness h(false);
        if (way != PanelWay::ClosedAndOpenedAgain) {
            ctrlKeyAt(h, h.fake.clock.now + 4.0, 'R');
        }
        h.start();
        if (way != PanelWay::OpenedDuringSecondPause) {
            if (way == PanelWay::ClosedAndOpenedAgain) {
                h.key('R', kCtrl);
            }
            ASSERT_TRUE(h.f.scene.control(C::Registered).visible) << n;
            h.clickOn(C::Zatvori); // Zatvori takes the focus and hides itself
            ASSERT_FALSE(h.f.scene.control(C::Registered).visible) << n;
            h.key('R', kCtrl);
        }
        ASSERT_TRUE(h.f.scene.control(C::Zatvori).visible) << n;
        EXPECT_FALSE(h.f.router.focus().has_value()) << n;

        bool noticeShown = false;
        h.fake.window.onPresent = [&] {
            noticeShown = noticeShown || h.f.scene.control(C::PrintPict).visible;
        };
        h.key('P', kCtrl);
        EXPECT_TRUE(noticeShown) << n;
        EXPECT_EQ(h.fake.printer.printed.size(), 1u) << n;
        h.key('X', kCtrl);
        EXPECT_TRUE(h.f.scene.control(C::Izlaz).visible) << n;
    }
}

TEST(KeyboardGuard, WithoutAGuardNothingIsFiltered) {
    Harness h(false);
    h.fake.guard.installWorks = false;
    h.start();
    EXPECT_EQ(h.s.KeyboardHookHandle, 0);
    EXPECT_FALSE(swallowedByGuard(h.f, keyDown(91)));
}

} // namespace
} // namespace tintaro::test
