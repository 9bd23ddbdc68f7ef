// SPDX-License-Identifier: GPL-3.0-or-later

#include "support/Harness.h"

#include "shell/EventLoop.h"
#include "shell/Program.h"
#include "shell/Startup.h"

#include <cstdio>

namespace tintaro::test {

Harness::Harness(bool startUp) : Harness(TINTARO_ASSETS, startUp, [](Harness&) {}) {}

Harness::Harness(std::string dir, bool startUp) : Harness(std::move(dir), startUp, [](Harness&) {}) {}

Harness::Harness(bool startUp, const std::function<void(Harness&)>& prepare)
    : Harness(TINTARO_ASSETS, startUp, prepare) {}

Harness::Harness(std::string dir, bool startUp, const std::function<void(Harness&)>& prepare)
    : appDir(std::move(dir)), fake(appDir), f(fake.platform), s(f.state) {
    prepare(*this);
    registerHandlers(f);
    fake.window.create(std::string(kWindowCaption));
    s.AppPath = appDir;
    f.scene.create();
    if (startUp) {
        start();
    }
}

void Harness::start() {
    loadFormaMain(f);
}

void Harness::send(const Event& event) {
    dispatchEvent(f, event);
    f.scene.present();
}

void Harness::move(float x, float y, int buttons) {
    send(mouseMove(x, y, buttons));
}
void Harness::press(float x, float y, int button) {
    send(mouseDown(x, y, button));
}
void Harness::release(float x, float y, int button) {
    send(mouseUp(x, y, button));
}

void Harness::click(float x, float y, int button) {
    press(x, y, button);
    release(x, y, button);
}

static void centre(const Rect& r, float& x, float& y) {
    x = static_cast<float>(r.x) + static_cast<float>(r.w) / 2.0f;
    y = static_cast<float>(r.y) + static_cast<float>(r.h) / 2.0f;
}

void Harness::moveOver(ControlId id) {
    float x, y;
    centre(f.scene.control(id).rect, x, y);
    move(x, y);
}

void Harness::clickOn(ControlId id, int button) {
    float x, y;
    centre(f.scene.control(id).rect, x, y);
    click(x, y, button);
}

void Harness::key(int vk, int shift, bool alt) {
    send(keyDown(vk, shift, alt));
    send(keyUp(vk, shift, alt));
}

void Harness::canvasClick(float x, float y, int button) {
    click(x + 30, y + 29, button);
}

bool Harness::shows(ControlId id, const std::string& file) {
    auto expected = f.scene.pictures().load(appDir + "/PICTURE/" + file);
    const auto actual = f.scene.pictureOf(id);
    return expected && actual && (expected == actual || *expected == *actual);
}

Image Harness::drawing(int n) {
    char file[32];
    std::snprintf(file, sizeof file, "/PICTURE/%02d.GIF", n);
    auto bytes = fake.files.read(appDir + file);
    auto image = bytes ? fake.codec.decode(*bytes) : std::nullopt;
    return image ? *image : Image{};
}

} // namespace tintaro::test
