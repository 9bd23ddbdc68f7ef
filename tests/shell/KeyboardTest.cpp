// SPDX-License-Identifier: GPL-3.0-or-later

#include "shell/HookModule.h"
#include "support/Harness.h"

#include <gtest/gtest.h>

namespace tintaro::test {
namespace {

using C = ControlId;

TEST(KeyboardGuard, FilterDecisionTable) {
    struct Case {
        int vk;
        bool altHeld;
        bool swallowed;
    };
    const Case cases[] = {
        {91, false, true},   // left Windows key
        {92, false, true},   // right Windows key (the direction, down or up, never matters)
        {93, false, true},   // menu key
        {16, false, true},   // Shift under its own code
        {18, false, true},   // Alt under its own code
        {9, true, true},     // Alt+Tab
        {115, true, true},   // Alt+F4
        {27, true, true},    // Alt+Esc
        {27, false, false},  // Esc passes
        {17, false, false},  // Ctrl passes
        {88, false, false},  // the X of Ctrl+X passes
        {160, false, false}, // left Shift's own code is not listed
    };
    for (const auto& c : cases) {
        EXPECT_EQ(LowLevelKeyFilter(c.vk, c.altHeld), c.swallowed) << "vk " << c.vk;
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

Event guardSays(GuardState state) {
    Event e;
    e.type = EventType::GuardChanged;
    e.guard = state;
    return e;
}

// The desktop answers the hold in its own time (GNOME asks its user first),
// during the start-up's pauses or later; the window keeps its last word,
// and a refusal changes nothing of the program's own filtering.
TEST(KeyboardGuard, KeepsTheDesktopsLastWordOnTheHold) {
    Harness h(false);
    EXPECT_EQ(h.f.guard, GuardState::NotHeld);
    h.fake.window.scheduled.push_back({100.2, guardSays(GuardState::Asked)});
    h.fake.window.scheduled.push_back({104.0, guardSays(GuardState::Held)});
    h.start();
    EXPECT_EQ(h.f.guard, GuardState::Held);
    h.send(guardSays(GuardState::NotHeld));
    EXPECT_EQ(h.f.guard, GuardState::NotHeld);
    h.key('X', kCtrl | kAlt, true);
    EXPECT_FALSE(h.f.scene.control(C::Izlaz).visible);
    h.send(guardSays(GuardState::Held));
    EXPECT_EQ(h.f.guard, GuardState::Held);
}

} // namespace
} // namespace tintaro::test
