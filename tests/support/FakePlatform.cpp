// SPDX-License-Identifier: GPL-3.0-or-later

#include "support/FakePlatform.h"

#include "platform/pictures/PictureDecoder.h"

#include <algorithm>
#include <cmath>

namespace tintaro::test {

std::optional<Bytes> FakeFiles::read(const std::string& path) {
    if (auto it = failures.find(path); it != failures.end()) {
        std::rethrow_exception(it->second);
    }
    if (removed.count(path)) {
        return std::nullopt;
    }
    if (auto it = written.find(path); it != written.end()) {
        return it->second;
    }
    return m_real.read(path);
}

std::optional<std::uint64_t> FakeFiles::length(const std::string& path) {
    lengthQueries.push_back(path);
    if (removed.count(path)) {
        return std::nullopt;
    }
    if (auto it = written.find(path); it != written.end()) {
        return it->second.size();
    }
    return m_real.length(path);
}

bool FakeFiles::writeAtomically(const std::string& path, std::span<const std::uint8_t> data) {
    const auto dir = path.substr(0, path.rfind('/'));
    if (!writable.count(dir)) {
        return false;
    }
    written[path] = Bytes(data.begin(), data.end());
    removed.erase(path);
    return true;
}

void FakeWindow::showMessage(const std::string& t, const std::string& text) {
    messages.push_back({t, text});
    keyboardHeldAtMessage.push_back(guard != nullptr && guard->held);
    log.push_back("message");
}

void FakeWindow::present(const Image& frame, std::span<const Rect> dirty) {
    ++presents;
    lastDirty.assign(dirty.begin(), dirty.end());
    for (const auto& r : dirty) {
        for (int y = r.y; y < r.y + r.h; ++y) {
            std::copy_n(&frame.pixels[static_cast<std::size_t>(y) * frame.width + r.x], r.w,
                        &shown.pixels[static_cast<std::size_t>(y) * shown.width + r.x]);
        }
    }
    if (onPresent) {
        onPresent();
    }
}

std::optional<Event> FakeWindow::waitEvent(int timeoutMs) {
    if (!events.empty()) {
        auto e = events.front();
        events.pop_front();
        return e;
    }
    if (!scheduled.empty()) {
        const auto [at, event] = scheduled.front();
        if (timeoutMs < 0 || at <= clock->now + timeoutMs / 1000.0) {
            clock->now = std::max(clock->now, at);
            scheduled.pop_front();
            return event;
        }
    }
    if (timeoutMs < 0) {
        throw OutOfEvents{};
    }
    clock->now += timeoutMs / 1000.0;
    return std::nullopt;
}

std::unique_ptr<Cursor> FakeWindow::loadCursor(const std::string& iconPath) {
    // The real window decodes the icon with the real decoder: a damaged or
    // hostile icon gives no cursor there either.
    const auto bytes = files->read(iconPath);
    if (!bytes || !decodePicture(*bytes)) {
        return nullptr;
    }
    return std::make_unique<FakeCursor>(iconPath);
}

bool FakeMusic::load(const std::string& path) {
    log.push_back("load " + path);
    return files->read(path).has_value();
}

FakePlatform::FakePlatform(const std::string& appDir) : files(appDir) {
    window.clock = &clock;
    window.files = &files;
    window.guard = &guard;
    music.files = &files;
    files.writable.insert(appDir + "/MY_PICTURE");
}

} // namespace tintaro::test
