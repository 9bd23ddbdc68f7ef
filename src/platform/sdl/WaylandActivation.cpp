// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/sdl/WaylandActivation.h"

#include <SDL.h>
#include <SDL_syswm.h>
#include <wayland-client.h>

#include "xdg-activation-v1-client-protocol.h"

#include <cstring>

namespace tintaro {

namespace {

void announced(void* data, wl_registry* registry, std::uint32_t name, const char* interface, std::uint32_t) {
    if (std::strcmp(interface, xdg_activation_v1_interface.name) == 0) {
        *static_cast<xdg_activation_v1**>(data) = static_cast<xdg_activation_v1*>(
            wl_registry_bind(registry, name, &xdg_activation_v1_interface, 1));
    }
}

void withdrawn(void*, wl_registry*, std::uint32_t) {}

constexpr wl_registry_listener kRegistryListener{announced, withdrawn};

} // namespace

bool activateWithToken(SDL_Window* window, const std::string& token) {
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (token.empty() || window == nullptr || SDL_GetWindowWMInfo(window, &info) != SDL_TRUE ||
        info.subsystem != SDL_SYSWM_WAYLAND) {
        return false;
    }
    wl_display* display = info.info.wl.display;
    // SDL's connection, with a queue of our own: nothing of SDL's is read
    // or dispatched here.
    wl_event_queue* queue = wl_display_create_queue(display);
    auto* wrapper = static_cast<wl_display*>(wl_proxy_create_wrapper(display));
    wl_proxy_set_queue(reinterpret_cast<wl_proxy*>(wrapper), queue);
    wl_registry* registry = wl_display_get_registry(wrapper);
    xdg_activation_v1* activation = nullptr;
    wl_registry_add_listener(registry, &kRegistryListener, &activation);
    wl_display_roundtrip_queue(display, queue);
    const bool asked = activation != nullptr;
    if (asked) {
        xdg_activation_v1_activate(activation, token.c_str(), info.info.wl.surface);
        xdg_activation_v1_destroy(activation);
        wl_display_flush(display);
    }
    wl_registry_destroy(registry);
    wl_proxy_wrapper_destroy(wrapper);
    wl_event_queue_destroy(queue);
    return asked;
}

} // namespace tintaro
