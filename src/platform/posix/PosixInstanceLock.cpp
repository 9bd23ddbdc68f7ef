// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/posix/PosixInstanceLock.h"

#include "platform/posix/PosixFiles.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <unistd.h>

namespace tintaro {

namespace {

std::string variable(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

// FNV-1a: a long folder name in a name of bounded length.
std::uint64_t hashOf(const std::string& text) {
    std::uint64_t h = 14695981039346656037ULL;
    for (const unsigned char c : text) {
        h = (h ^ c) * 1099511628211ULL;
    }
    return h;
}

} // namespace

PosixInstanceLock::PosixInstanceLock(std::string scope) : m_name(nameFor(scope)) {}

PosixInstanceLock::~PosixInstanceLock() = default;

std::string PosixInstanceLock::defaultScope() {
    // The XDG rules ignore a relative or empty value.
    std::string runtime = variable("XDG_RUNTIME_DIR");
    if (runtime.empty() || runtime[0] != '/') {
        runtime = PosixFiles().userCacheDirectory();
    }
    return runtime + "|" + variable("WAYLAND_DISPLAY") + "|" + variable("DISPLAY");
}

std::string PosixInstanceLock::nameFor(const std::string& scope) {
    char name[64];
    std::snprintf(name, sizeof name, "tintaro.%u.%016llx", static_cast<unsigned>(::getuid()),
                  static_cast<unsigned long long>(hashOf(scope)));
    return name;
}

bool PosixInstanceLock::acquire() {
    if (m_held) {
        return true;
    }
    int fd = -1;
    switch (runningcopy::claim(m_name, fd)) {
    case runningcopy::Claim::Ours:
        m_held = true;
        m_listener.start(fd);
        return true;
    case runningcopy::Claim::HeldByUs:
        return false;
    case runningcopy::Claim::HeldByOtherUser:
        std::fprintf(stderr, "tintaro: another user's program holds the name that keeps Tintaro to one copy; "
                             "starting anyway\n");
        return true;
    case runningcopy::Claim::Unavailable:
        break;
    }
    std::fprintf(stderr, "tintaro: cannot make sure that only one copy runs; starting anyway\n");
    return true;
}

bool PosixInstanceLock::askHolderForward(const std::string& activationToken) const {
    return runningcopy::askForward(m_name, activationToken);
}

} // namespace tintaro
