// SPDX-License-Identifier: GPL-3.0-or-later

#include "support/SilentPrintServer.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <vector>

namespace tintaro::test {

SilentPrintServer::SilentPrintServer(const std::filesystem::path& socketPath) {
    m_listener = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    socketPath.string().copy(address.sun_path, sizeof address.sun_path - 1);
    if (m_listener >= 0 && ::bind(m_listener, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
        ::listen(m_listener, 16) == 0 && ::pipe2(m_stop, O_CLOEXEC) == 0) {
        m_thread = std::thread([this] { serve(); });
    }
}

SilentPrintServer::~SilentPrintServer() {
    if (m_thread.joinable()) {
        const char stop = 0;
        while (::write(m_stop[1], &stop, 1) < 0) {
        }
        m_thread.join();
    }
    for (int fd : {m_listener, m_stop[0], m_stop[1]}) {
        if (fd >= 0) {
            ::close(fd);
        }
    }
}

bool SilentPrintServer::waitForConnections(int count) {
    return waitFor([&] { return m_accepted >= count; });
}

bool SilentPrintServer::waitForClosed(int count) {
    return waitFor([&] { return m_closed >= count; });
}

int SilentPrintServer::closed() {
    std::lock_guard lock(m_mutex);
    return m_closed;
}

template <typename Condition> bool SilentPrintServer::waitFor(Condition condition) {
    std::unique_lock lock(m_mutex);
    return m_changed.wait_for(lock, std::chrono::seconds(30), condition);
}

void SilentPrintServer::serve() {
    std::vector<int> open;
    for (;;) {
        std::vector<pollfd> fds = {{m_stop[0], POLLIN, 0}, {m_listener, POLLIN, 0}};
        for (int fd : open) {
            fds.push_back({fd, POLLIN, 0});
        }
        if (::poll(fds.data(), fds.size(), -1) < 0 || fds[0].revents != 0) {
            break;
        }
        if (fds[1].revents & POLLIN) {
            const int fd = ::accept4(m_listener, nullptr, nullptr, SOCK_CLOEXEC);
            if (fd >= 0) {
                open.push_back(fd);
                note(m_accepted);
            }
        }
        for (std::size_t i = 2; i < fds.size(); ++i) {
            char drop[4096];
            if (fds[i].revents != 0 && ::read(fds[i].fd, drop, sizeof drop) <= 0) {
                ::close(fds[i].fd);
                std::erase(open, fds[i].fd);
                note(m_closed);
            }
        }
    }
    for (int fd : open) {
        ::close(fd);
    }
}

void SilentPrintServer::note(int& counter) {
    std::lock_guard lock(m_mutex);
    ++counter;
    m_changed.notify_all();
}

} // namespace tintaro::test
