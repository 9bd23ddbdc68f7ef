// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/posix/RunningCopy.h"

#include "platform/posix/SignalFreeThread.h"

#include <atomic>
#include <cerrno>
#include <cstring>
#include <mutex>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/time.h>
#include <sys/un.h>
#include <unistd.h>

namespace tintaro::runningcopy {

namespace {

constexpr char kVerb[] = "forward";
constexpr char kAnswer[] = "ok\n";
// A token is short (a UUID or a few dozen characters); anything longer is
// no request of ours.
constexpr std::size_t kLongestRequest = 1024;
// Neither side waits longer for the other, so that nothing can hang a
// second start or block the listener for good.
constexpr int kPatienceSeconds = 3;

std::atomic<void (*)()> g_wake{nullptr};
std::mutex g_mutex;
std::optional<std::string> g_request;

bool addressFor(const std::string& path, sockaddr_un& address) {
    address = {};
    address.sun_family = AF_UNIX;
    if (path.size() >= sizeof address.sun_path) {
        return false;
    }
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    return true;
}

void setPatience(int fd) {
    timeval limit{kPatienceSeconds, 0};
    ::setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &limit, sizeof limit);
    ::setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &limit, sizeof limit);
}

// One line: "forward" and, after a space, the token.
std::optional<std::string> readRequest(int fd) {
    std::string line;
    char buffer[256];
    while (line.find('\n') == std::string::npos && line.size() <= kLongestRequest) {
        const ssize_t got = ::recv(fd, buffer, sizeof buffer, 0);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got <= 0) {
            return std::nullopt;
        }
        line.append(buffer, static_cast<std::size_t>(got));
    }
    const std::size_t end = line.find('\n');
    if (end == std::string::npos || line.compare(0, sizeof kVerb - 1, kVerb) != 0) {
        return std::nullopt;
    }
    line.resize(end);
    std::string token = line.substr(sizeof kVerb - 1);
    if (!token.empty() && token[0] == ' ') {
        token.erase(0, 1);
    }
    return token;
}

void serve(int listener) {
    for (;;) {
        const int fd = ::accept4(listener, nullptr, nullptr, SOCK_CLOEXEC);
        if (fd < 0) {
            if (errno == EINTR || errno == ECONNABORTED) {
                continue;
            }
            return;
        }
        setPatience(fd);
        if (auto token = readRequest(fd)) {
            {
                std::lock_guard lock(g_mutex);
                g_request = std::move(*token);
            }
            [[maybe_unused]] const ssize_t sent = ::send(fd, kAnswer, sizeof kAnswer - 1, MSG_NOSIGNAL);
            if (auto wake = g_wake.load()) {
                wake();
            }
        }
        ::close(fd);
    }
}

} // namespace

Listener::~Listener() {
    if (m_fd < 0) {
        return;
    }
    // Wakes the accept, which then fails and ends the thread.
    ::shutdown(m_fd, SHUT_RDWR);
    m_thread.join();
    ::close(m_fd);
}

bool Listener::start(const std::string& socketPath) {
    sockaddr_un address;
    if (m_fd >= 0 || !addressFor(socketPath, address)) {
        return false;
    }
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        return false;
    }
    // Whoever holds the lock owns the name: a socket left there is a dead
    // copy's. Only this user may connect.
    ::unlink(socketPath.c_str());
    const mode_t previous = ::umask(0077);
    const bool bound = ::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
    ::umask(previous);
    if (!bound || ::listen(fd, 4) != 0) {
        ::close(fd);
        return false;
    }
    m_fd = fd;
    m_thread = startSignalFreeThread("tintaro-copies", [fd] { serve(fd); });
    return true;
}

void setWake(void (*wake)()) {
    g_wake.store(wake);
}

std::optional<std::string> takeRequest() {
    std::lock_guard lock(g_mutex);
    std::optional<std::string> request;
    request.swap(g_request);
    return request;
}

bool askForward(const std::string& socketPath, const std::string& activationToken) {
    sockaddr_un address;
    if (!addressFor(socketPath, address) || activationToken.size() > kLongestRequest / 2 ||
        activationToken.find('\n') != std::string::npos) {
        return false;
    }
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        return false;
    }
    setPatience(fd);
    std::string request = kVerb;
    if (!activationToken.empty()) {
        request += " " + activationToken;
    }
    request += "\n";
    char answer[sizeof kAnswer] = {};
    bool answered = false;
    if (::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0 &&
        ::send(fd, request.data(), request.size(), MSG_NOSIGNAL) == static_cast<ssize_t>(request.size())) {
        std::size_t got = 0;
        while (got < sizeof kAnswer - 1) {
            const ssize_t n = ::recv(fd, answer + got, sizeof kAnswer - 1 - got, 0);
            if (n < 0 && errno == EINTR) {
                continue;
            }
            if (n <= 0) {
                break;
            }
            got += static_cast<std::size_t>(n);
        }
        answered = got == sizeof kAnswer - 1 && std::memcmp(answer, kAnswer, got) == 0;
    }
    ::close(fd);
    return answered;
}

} // namespace tintaro::runningcopy
