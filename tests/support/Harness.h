// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "shell/FormaMain.h"
#include "support/Events.h"
#include "support/FakePlatform.h"

#include <functional>
#include <string>

namespace tintaro::test {

// The real window, handlers and routing on the fake platform, started from
// the shipped asset tree.
class Harness {
  public:
    explicit Harness(bool startUp = true);
    // Started from another application directory (a link to the shipped tree).
    explicit Harness(std::string appDir, bool startUp = true);
    // `prepare` changes the files before the window reads its start pictures.
    Harness(bool startUp, const std::function<void(Harness&)>& prepare);
    Harness(std::string appDir, bool startUp, const std::function<void(Harness&)>& prepare);

    void start();

    void send(const Event& event);
    void move(float x, float y, int buttons = 0);
    void press(float x, float y, int button = kLeftButton);
    void release(float x, float y, int button = kLeftButton);
    void click(float x, float y, int button = kLeftButton);
    void moveOver(ControlId id);
    void clickOn(ControlId id, int button = kLeftButton);
    void key(int vk, int shift = 0, bool alt = false);
    // Press and release on the canvas at canvas coordinates.
    void canvasClick(float x, float y, int button = kLeftButton);

    // Whether the control currently shows the picture in PICTURE/<file>.
    bool shows(ControlId id, const std::string& file);
    Image drawing(int n); // drawing n (0 = blank page) as decoded from its file
    std::string asset(const std::string& relative) const { return appDir + "/" + relative; }

    std::string appDir;
    FakePlatform fake;
    FormaMain f;
    ProgramState& s;
};

} // namespace tintaro::test
