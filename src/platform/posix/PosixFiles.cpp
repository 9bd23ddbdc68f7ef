// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/posix/PosixFiles.h"

#include "platform/AppPath.h"

#include <cctype>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace tintaro {

namespace {

// The folder part of a path; "." for a bare name.
std::string directoryOf(const std::string& path) {
    const auto slash = path.rfind('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? std::string("/") : path.substr(0, slash);
}

bool writeAll(int fd, std::span<const std::uint8_t> data) {
    std::size_t done = 0;
    while (done < data.size()) {
        const ssize_t n = ::write(fd, data.data() + done, data.size() - done);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}

class FileDescriptor {
  public:
    explicit FileDescriptor(int fd) : m_fd(fd) {}
    ~FileDescriptor() {
        if (m_fd >= 0) {
            ::close(m_fd);
        }
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    int get() const { return m_fd; }
    bool close() {
        const int fd = m_fd;
        m_fd = -1;
        return ::close(fd) == 0;
    }

  private:
    int m_fd;
};

// The temporary beside a target while it is written: ".<name>.XXXXXX", the
// last six characters mkostemp's.
std::string temporaryPattern(const std::string& folder, const std::string& name) {
    return (folder == "/" ? std::string() : folder) + "/." + name + ".XXXXXX";
}

bool isTemporaryOf(const std::string& entry, const std::string& name) {
    const std::string prefix = "." + name + ".";
    if (entry.size() != prefix.size() + 6 || entry.compare(0, prefix.size(), prefix) != 0) {
        return false;
    }
    for (std::size_t i = prefix.size(); i < entry.size(); ++i) {
        if (std::isalnum(static_cast<unsigned char>(entry[i])) == 0) {
            return false;
        }
    }
    return true;
}

// A writer killed in the middle of its write (kill -9, a power cut) leaves its
// temporary behind for good. Each writer holds a lock on its temporary for as
// long as it lives, and the system drops the lock of a process that is gone,
// so a temporary whose lock is free is such a leftover.
void removeLeftoverTemporaries(const std::string& folder, const std::string& name) {
    DIR* dir = ::opendir(folder.c_str());
    if (dir == nullptr) {
        return;
    }
    const int dirFd = ::dirfd(dir);
    while (const dirent* entry = ::readdir(dir)) {
        if (!isTemporaryOf(entry->d_name, name)) {
            continue;
        }
        FileDescriptor fd(::openat(dirFd, entry->d_name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
        struct stat st {};
        if (fd.get() >= 0 && ::fstat(fd.get(), &st) == 0 && S_ISREG(st.st_mode) &&
            ::flock(fd.get(), LOCK_EX | LOCK_NB) == 0) {
            ::unlinkat(dirFd, entry->d_name, 0);
        }
    }
    ::closedir(dir);
}

// The user's home as the password database has it, when HOME says nothing.
std::string homeFromPasswordDatabase() {
    long suggested = ::sysconf(_SC_GETPW_R_SIZE_MAX);
    std::vector<char> buffer(suggested > 0 ? static_cast<std::size_t>(suggested) : 16384);
    passwd entry{};
    passwd* found = nullptr;
    if (::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &found) != 0 || found == nullptr ||
        found->pw_dir == nullptr || found->pw_dir[0] != '/') {
        return {};
    }
    return found->pw_dir;
}

} // namespace

std::optional<Bytes> PosixFiles::read(const std::string& path) {
    FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (fd.get() < 0) {
        return std::nullopt;
    }
    struct stat st {};
    if (::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode)) {
        return std::nullopt;
    }
    Bytes bytes;
    bytes.reserve(static_cast<std::size_t>(st.st_size));
    std::uint8_t chunk[65536];
    for (;;) {
        const ssize_t n = ::read(fd.get(), chunk, sizeof chunk);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            return std::nullopt;
        }
        if (n == 0) {
            break;
        }
        bytes.insert(bytes.end(), chunk, chunk + n);
    }
    return bytes;
}

std::optional<std::uint64_t> PosixFiles::length(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) {
        return std::nullopt;
    }
    return static_cast<std::uint64_t>(st.st_size);
}

bool PosixFiles::writeAtomically(const std::string& path, std::span<const std::uint8_t> data) {
    const std::string& target = path;
    const std::string folder = directoryOf(target);
    const std::string name =
        target.substr(target.rfind('/') == std::string::npos ? 0 : target.rfind('/') + 1);
    if (name.empty()) {
        return false;
    }
    removeLeftoverTemporaries(folder, name);
    // The temporary file lies in the target's own folder so that rename()
    // replaces the target in one step: a reader sees the old file or the new
    // one, never a half-written one. Locked while it lives, it is never taken
    // for a leftover.
    std::string temp = temporaryPattern(folder, name);
    FileDescriptor fd(::mkostemp(temp.data(), O_CLOEXEC));
    if (fd.get() < 0) {
        return false;
    }
    ::flock(fd.get(), LOCK_EX | LOCK_NB);
    const bool written = ::fchmod(fd.get(), 0644) == 0 && writeAll(fd.get(), data) && ::fsync(fd.get()) == 0;
    if (!fd.close() || !written || ::rename(temp.c_str(), target.c_str()) != 0) {
        ::unlink(temp.c_str());
        return false;
    }
    // Make the rename itself durable.
    FileDescriptor dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.get() >= 0) {
        ::fsync(dir.get());
    }
    return true;
}

bool PosixFiles::isWritableDirectory(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode) && ::access(path.c_str(), W_OK | X_OK) == 0;
}

bool PosixFiles::makeDirectories(const std::string& path) {
    std::string local = path;
    while (local.size() > 1 && local.back() == '/') {
        local.pop_back();
    }
    if (local.empty()) {
        return false;
    }
    // Create each missing level from the top down; a level that appears in
    // between (made by someone else) is as good as one made here.
    for (std::size_t pos = 1; pos <= local.size(); ++pos) {
        if (pos != local.size() && local[pos] != '/') {
            continue;
        }
        const std::string level = local.substr(0, pos);
        if (::mkdir(level.c_str(), 0755) != 0 && errno != EEXIST) {
            return false;
        }
    }
    struct stat st {};
    return ::stat(local.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool PosixFiles::setCurrentDirectory(const std::string& path) {
    return !path.empty() && ::chdir(path.c_str()) == 0;
}

std::string PosixFiles::executableDirectory() {
    std::string buffer(PATH_MAX, '\0');
    const ssize_t n = ::readlink("/proc/self/exe", buffer.data(), buffer.size() - 1);
    if (n <= 0) {
        return ".";
    }
    buffer.resize(static_cast<std::size_t>(n));
    return directoryOf(buffer);
}

std::string PosixFiles::userCacheDirectory() {
    // The XDG rules ignore a relative or empty value.
    const char* cache = std::getenv("XDG_CACHE_HOME");
    if (cache != nullptr && cache[0] == '/') {
        return joinPath(cache, "/tintaro");
    }
    const char* home = std::getenv("HOME");
    if (home != nullptr && home[0] != '\0') {
        return joinPath(home, "/.cache/tintaro");
    }
    // Never a fixed name in a shared folder, where another user could have
    // put a link of theirs first: the home the system knows for us, else a
    // folder of our own that only we can enter, made once per run.
    if (const std::string known = homeFromPasswordDatabase(); !known.empty()) {
        return joinPath(known, "/.cache/tintaro");
    }
    static const std::string ownFolder = [] {
        char name[] = "/tmp/tintaro-XXXXXX";
        return ::mkdtemp(name) != nullptr ? std::string(name) : std::string();
    }();
    return ownFolder;
}

} // namespace tintaro
