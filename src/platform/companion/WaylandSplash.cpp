// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/companion/WaylandSplash.h"

#include "platform/wayland/ShmPicture.h"
#include "platform/wayland/Toplevel.h"
#include "platform/wayland/WaylandClient.h"

#include <wayland-client.h>

#include <chrono>

namespace tintaro {

namespace {

long long nowMs() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

} // namespace

bool showWaylandSplash(const Picture& picture, long long showMs) {
    const long long startMs = nowMs();
    auto client = WaylandClient::connect();
    if (!client) {
        return false;
    }
    auto image = shmPicture(client->shm(), picture, false);
    if (!image) {
        return true; // nothing to show, and nobody to tell
    }
    bool closed = false;
    Toplevel::Handlers handlers;
    handlers.closeRequested = [&closed] { closed = true; };
    Toplevel splash(*client, "Tintaro", std::move(handlers));
    // One size only: tiling desktops float such a window, in the middle.
    splash.setFixedSize(picture.width, picture.height);
    // The colouring book's window takes the hold over before this one goes;
    // until then a child's keys stay with the book too.
    splash.holdShortcuts(true);
    if (!splash.startMapping()) {
        return true;
    }
    ShmBuffer* buffer = image->idle();
    wl_surface_attach(splash.surface(), buffer->buffer, 0, 0);
    wl_surface_damage_buffer(splash.surface(), 0, 0, buffer->width, buffer->height);
    wl_surface_commit(splash.surface());
    for (long long left = startMs + showMs - nowMs(); left > 0 && !closed;
         left = startMs + showMs - nowMs()) {
        if (!client->dispatch(static_cast<int>(left))) {
            break;
        }
    }
    return true;
}

} // namespace tintaro
