// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/wayland/WaylandClient.h"

#include <wayland-client.h>

#include "keyboard-shortcuts-inhibit-unstable-v1-client-protocol.h"
#include "xdg-activation-v1-client-protocol.h"
#include "xdg-shell-client-protocol.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <poll.h>

namespace tintaro {

// The listeners reach the client's private parts through this friend.
struct WaylandClientListeners {
    static void ping(void*, xdg_wm_base* shell, std::uint32_t serial) { xdg_wm_base_pong(shell, serial); }

    static void capabilities(void* data, wl_seat*, std::uint32_t caps) {
        auto* client = static_cast<WaylandClient*>(data);
        client->m_seatCapabilities = caps;
        if (client->m_seatHandler) {
            client->m_seatHandler(caps);
        }
    }
    static void seatName(void*, wl_seat*, const char*) {}

    static void geometry(void*, wl_output*, std::int32_t, std::int32_t, std::int32_t, std::int32_t,
                         std::int32_t, const char*, const char*, std::int32_t) {}
    static void mode(void*, wl_output*, std::uint32_t, std::int32_t, std::int32_t, std::int32_t) {}
    static void done(void*, wl_output*) {}
    static void text(void*, wl_output*, const char*) {}
    static void scale(void* data, wl_output* output, std::int32_t factor) {
        auto* client = static_cast<WaylandClient*>(data);
        for (auto& known : client->m_outputs) {
            if (known.output == output) {
                known.scale = std::max(1, factor);
            }
        }
        if (client->m_scaleHandler) {
            client->m_scaleHandler();
        }
    }
};

namespace {

constexpr xdg_wm_base_listener kShellListener{WaylandClientListeners::ping};
constexpr wl_seat_listener kSeatListener{WaylandClientListeners::capabilities,
                                         WaylandClientListeners::seatName};
constexpr wl_output_listener kOutputListener{WaylandClientListeners::geometry, WaylandClientListeners::mode,
                                             WaylandClientListeners::done,     WaylandClientListeners::scale,
                                             WaylandClientListeners::text,     WaylandClientListeners::text};

template <typename T>
T* bind(wl_registry* registry, std::uint32_t name, const wl_interface* interface, std::uint32_t offered,
        std::uint32_t wanted) {
    return static_cast<T*>(wl_registry_bind(registry, name, interface, std::min(offered, wanted)));
}

bool is(const char* interface, const wl_interface& known) {
    return std::strcmp(interface, known.name) == 0;
}

} // namespace

void WaylandClient::announced(void* data, wl_registry* registry, std::uint32_t name, const char* interface,
                              std::uint32_t version) {
    auto* c = static_cast<WaylandClient*>(data);
    // wl_compositor 4 damages in buffer pixels; wl_seat 5 releases devices.
    if (is(interface, wl_compositor_interface) && c->m_compositor == nullptr && version >= 4) {
        c->m_compositor = bind<wl_compositor>(registry, name, &wl_compositor_interface, version, 4);
    } else if (is(interface, wl_shm_interface) && c->m_shm == nullptr) {
        c->m_shm = bind<wl_shm>(registry, name, &wl_shm_interface, version, 1);
    } else if (is(interface, xdg_wm_base_interface) && c->m_shell == nullptr) {
        c->m_shell = bind<xdg_wm_base>(registry, name, &xdg_wm_base_interface, version, 2);
        xdg_wm_base_add_listener(c->m_shell, &kShellListener, c);
    } else if (is(interface, wl_seat_interface) && c->m_seat == nullptr && version >= 5) {
        c->m_seat = bind<wl_seat>(registry, name, &wl_seat_interface, version, 5);
        wl_seat_add_listener(c->m_seat, &kSeatListener, c);
    } else if (is(interface, wl_output_interface) && version >= 2) {
        auto* output = bind<wl_output>(registry, name, &wl_output_interface, version, 2);
        c->m_outputs.push_back({output, name, 1});
        wl_output_add_listener(output, &kOutputListener, c);
    } else if (is(interface, xdg_activation_v1_interface) && c->m_activation == nullptr) {
        c->m_activation = bind<xdg_activation_v1>(registry, name, &xdg_activation_v1_interface, version, 1);
    } else if (is(interface, zwp_keyboard_shortcuts_inhibit_manager_v1_interface) &&
               c->m_inhibitManager == nullptr) {
        c->m_inhibitManager = bind<zwp_keyboard_shortcuts_inhibit_manager_v1>(
            registry, name, &zwp_keyboard_shortcuts_inhibit_manager_v1_interface, version, 1);
    }
}

void WaylandClient::withdrawn(void* data, wl_registry*, std::uint32_t name) {
    auto* c = static_cast<WaylandClient*>(data);
    // An output unplugged; the other globals live as long as the compositor.
    const auto gone = std::find_if(c->m_outputs.begin(), c->m_outputs.end(),
                                   [name](const Output& o) { return o.name == name; });
    if (gone != c->m_outputs.end()) {
        wl_output_destroy(gone->output);
        c->m_outputs.erase(gone);
        if (c->m_scaleHandler) {
            c->m_scaleHandler();
        }
    }
}

std::unique_ptr<WaylandClient> WaylandClient::connect() {
    std::unique_ptr<WaylandClient> client(new WaylandClient);
    client->m_display = wl_display_connect(nullptr);
    if (client->m_display == nullptr) {
        return nullptr;
    }
    static constexpr wl_registry_listener listener{&WaylandClient::announced, &WaylandClient::withdrawn};
    client->m_registry = wl_display_get_registry(client->m_display);
    wl_registry_add_listener(client->m_registry, &listener, client.get());
    // The globals, then what they announce of themselves (outputs' scales,
    // the seat's devices).
    if (!client->roundtrip() || !client->roundtrip()) {
        return nullptr;
    }
    if (client->m_compositor == nullptr || client->m_shm == nullptr || client->m_shell == nullptr) {
        return nullptr;
    }
    return client;
}

WaylandClient::~WaylandClient() {
    if (m_display == nullptr) {
        return;
    }
    for (const Output& o : m_outputs) {
        wl_output_destroy(o.output);
    }
    if (m_inhibitManager != nullptr) {
        zwp_keyboard_shortcuts_inhibit_manager_v1_destroy(m_inhibitManager);
    }
    if (m_activation != nullptr) {
        xdg_activation_v1_destroy(m_activation);
    }
    if (m_seat != nullptr) {
        wl_seat_release(m_seat);
    }
    if (m_shell != nullptr) {
        xdg_wm_base_destroy(m_shell);
    }
    if (m_shm != nullptr) {
        wl_shm_destroy(m_shm);
    }
    if (m_compositor != nullptr) {
        wl_compositor_destroy(m_compositor);
    }
    if (m_registry != nullptr) {
        wl_registry_destroy(m_registry);
    }
    wl_display_disconnect(m_display);
}

int WaylandClient::scaleOf(const wl_output* output) const {
    for (const Output& o : m_outputs) {
        if (o.output == output) {
            return o.scale;
        }
    }
    return 1;
}

void WaylandClient::onSeatCapabilities(std::function<void(std::uint32_t)> handler) {
    m_seatHandler = std::move(handler);
    if (m_seatHandler && m_seatCapabilities != 0) {
        m_seatHandler(m_seatCapabilities);
    }
}

void WaylandClient::onOutputScale(std::function<void()> handler) {
    m_scaleHandler = std::move(handler);
}

bool WaylandClient::roundtrip() {
    return wl_display_roundtrip(m_display) >= 0;
}

bool WaylandClient::dispatch(int timeoutMs, int wakeFd) {
    // libwayland's reading protocol: announce the read, send, wait, read.
    while (wl_display_prepare_read(m_display) != 0) {
        if (wl_display_dispatch_pending(m_display) < 0) {
            return false;
        }
    }
    if (wl_display_flush(m_display) < 0 && errno != EAGAIN) {
        wl_display_cancel_read(m_display);
        return false;
    }
    pollfd fds[2] = {{wl_display_get_fd(m_display), POLLIN, 0}, {wakeFd, POLLIN, 0}};
    const int ready = poll(fds, wakeFd >= 0 ? 2 : 1, timeoutMs);
    if (ready > 0 && (fds[0].revents & POLLIN) != 0) {
        if (wl_display_read_events(m_display) < 0) {
            return false;
        }
    } else {
        wl_display_cancel_read(m_display);
        if (ready > 0 && (fds[0].revents & (POLLERR | POLLHUP)) != 0) {
            return false;
        }
    }
    return wl_display_dispatch_pending(m_display) >= 0;
}

} // namespace tintaro
