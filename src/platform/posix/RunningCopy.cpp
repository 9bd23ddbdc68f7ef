// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/posix/RunningCopy.h"

#include "platform/posix/SignalFreeThread.h"

#include <atomic>
#include <cerrno>
#include <cstddef>
#include <cstring>
#include <mutex>
#include <sys/socket.h>
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

// An abstract address: a zero byte, then the name; no file behind it.
struct Address {
    sockaddr_un address{};
    socklen_t length = 0;
};

std::optional<Address> addressFor(const std::string& name) {
    Address a;
    a.address.sun_family = AF_UNIX;
    if (name.empty() || name.size() + 1 > sizeof a.address.sun_path) {
        return std::nullopt;
    }
    std::memcpy(a.address.sun_path + 1, name.data(), name.size());
    a.length = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + name.size());
    return a;
}

// True when the process at the other end of a connected socket is this user's.
bool sameUser(int fd) {
    ucred peer{};
    socklen_t size = sizeof peer;
    return ::getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &peer, &size) == 0 && peer.uid == ::getuid();
}

// A connection to the holder of the name, when it is this user's.
int connectToHolder(const Address& a) {
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        return -1;
    }
    if (::connect(fd, reinterpret_cast<const sockaddr*>(&a.address), a.length) != 0 || !sameUser(fd)) {
        ::close(fd);
        return -1;
    }
    return fd;
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
        // Another user may reach the name, but not the book.
        if (!sameUser(fd)) {
            ::close(fd);
            continue;
        }
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

Claim claim(const std::string& name, int& fd) {
    fd = -1;
    const auto a = addressFor(name);
    const int socket = a ? ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0) : -1;
    if (socket < 0) {
        return Claim::Unavailable;
    }
    if (::bind(socket, reinterpret_cast<const sockaddr*>(&a->address), a->length) == 0 &&
        ::listen(socket, 4) == 0) {
        fd = socket;
        return Claim::Ours;
    }
    const bool taken = errno == EADDRINUSE;
    ::close(socket);
    if (!taken) {
        return Claim::Unavailable;
    }
    const int holder = connectToHolder(*a);
    if (holder < 0) {
        return Claim::HeldByOtherUser;
    }
    ::close(holder);
    return Claim::HeldByUs;
}

void Listener::start(int fd) {
    if (m_fd >= 0 || fd < 0) {
        return;
    }
    m_fd = fd;
    m_thread = startSignalFreeThread("tintaro-copies", [fd] { serve(fd); });
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

bool askForward(const std::string& name, const std::string& activationToken) {
    const auto a = addressFor(name);
    if (!a || activationToken.size() > kLongestRequest / 2 ||
        activationToken.find('\n') != std::string::npos) {
        return false;
    }
    const int fd = connectToHolder(*a);
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
    std::size_t got = 0;
    if (::send(fd, request.data(), request.size(), MSG_NOSIGNAL) == static_cast<ssize_t>(request.size())) {
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
    }
    ::close(fd);
    return got == sizeof kAnswer - 1 && std::memcmp(answer, kAnswer, got) == 0;
}

} // namespace tintaro::runningcopy
