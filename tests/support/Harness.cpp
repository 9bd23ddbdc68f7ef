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

namespace {

Event pointerEvent(EventType type, float x, float y, int button, int buttons) {
    Event e;
    e.type = type;
    e.x = x;
    e.y = y;
    e.button = button;
    e.buttons = buttons;
    return e;
}

} // namespace

void Harness::move(float x, float y, int buttons) {
    send(pointerEvent(EventType::MouseMove, x, y, 0, buttons));
}
void Harness::press(float x, float y, int button) {
    send(pointerEvent(EventType::MouseDown, x, y, button, 0));
}
void Harness::release(float x, float y, int button) {
    send(pointerEvent(EventType::MouseUp, x, y, button, 0));
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
    Event e;
    e.type = EventType::KeyDown;
    e.key = vk;
    e.shift = shift;
    e.altHeld = alt;
    send(e);
    e.type = EventType::KeyUp;
    send(e);
}

void Harness::canvasClick(float x, float y, int button) {
    click(x + 30, y + 29, button);
}

bool Harness::shows(ControlId id, const std::string& file) {
    auto expected = f.scene.pictures().load(appDir + "/PICTURE/" + file);
    const auto actual = f.scene.pictureOf(id);
    return expected && actual && (expected == actual || *expected == *actual);
}

std::string Harness::face(ControlId id) {
    return f.scene.control(id).picture ? std::to_string(f.scene.control(id).picture->width) + "x" +
                                             std::to_string(f.scene.control(id).picture->height)
                                       : "none";
}

Image Harness::drawing(int n) {
    char file[32];
    std::snprintf(file, sizeof file, "/PICTURE/%02d.GIF", n);
    auto bytes = fake.files.read(appDir + file);
    auto image = bytes ? fake.codec.decode(*bytes) : std::nullopt;
    return image ? *image : Image{};
}

} // namespace tintaro::test
