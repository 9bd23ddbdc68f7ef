// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/posix/PosixInstanceLock.h"

#include "platform/posix/PosixFiles.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace tintaro {

PosixInstanceLock::PosixInstanceLock(std::string directory) : m_directory(std::move(directory)) {}

PosixInstanceLock::~PosixInstanceLock() {
    if (m_fd >= 0) {
        ::close(m_fd);
    }
}

std::string PosixInstanceLock::defaultDirectory() {
    // The XDG rules ignore a relative or empty value.
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime != nullptr && runtime[0] == '/') {
        return runtime;
    }
    return PosixFiles().userCacheDirectory();
}

bool PosixInstanceLock::acquire() {
    if (m_fd >= 0) {
        return true;
    }
    PosixFiles files;
    if (!files.makeDirectories(m_directory)) {
        return true;
    }
    // Close-on-exec: the companion and the browser, started from here, must
    // not inherit the lock and keep it after the program has ended.
    const std::string path = m_directory + "/tintaro.lock";
    const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0) {
        return true;
    }
    int result = 0;
    do {
        result = ::flock(fd, LOCK_EX | LOCK_NB);
    } while (result != 0 && errno == EINTR);
    if (result != 0) {
        const bool heldElsewhere = errno == EWOULDBLOCK;
        ::close(fd);
        return !heldElsewhere;
    }
    m_fd = fd;
    m_listener.start(socketPath());
    return true;
}

bool PosixInstanceLock::askHolderForward(const std::string& activationToken) const {
    return runningcopy::askForward(socketPath(), activationToken);
}

} // namespace tintaro
