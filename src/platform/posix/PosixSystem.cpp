// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/posix/PosixSystem.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <ctime>
#include <fcntl.h>
#include <optional>
#include <spawn.h>
#include <sys/prctl.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace tintaro {

namespace {

void reapChildren(int) {
    const int savedErrno = errno;
    while (::waitpid(-1, nullptr, WNOHANG) > 0) {
    }
    errno = savedErrno;
}

// The reaper is a handler rather than SIG_IGN on purpose: an ignored SIGCHLD
// survives exec, and programs started from here (xdg-open, a browser) would
// then lose the exit status of their own children.
void installReaper() {
    struct sigaction action {};
    action.sa_handler = reapChildren;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART | SA_NOCLDSTOP;
    ::sigaction(SIGCHLD, &action, nullptr);
    // Children that ended before the handler existed.
    reapChildren(0);
}

// For programs that live on their own, such as the browser.
bool spawn(const char* file, char* const argv[], bool searchPath) {
    posix_spawnattr_t attr;
    if (posix_spawnattr_init(&attr) != 0) {
        return false;
    }
    // The child starts with a clean signal state whatever this process blocks.
    sigset_t none;
    sigemptyset(&none);
    sigset_t defaults;
    sigemptyset(&defaults);
    sigaddset(&defaults, SIGPIPE);
    sigaddset(&defaults, SIGCHLD);
    posix_spawnattr_setsigmask(&attr, &none);
    posix_spawnattr_setsigdefault(&attr, &defaults);
    posix_spawnattr_setflags(&attr, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
    pid_t pid = 0;
    const int result = searchPath ? posix_spawnp(&pid, file, nullptr, &attr, argv, environ)
                                  : posix_spawn(&pid, file, nullptr, &attr, argv, environ);
    posix_spawnattr_destroy(&attr);
    return result == 0;
}

// glibc 2.36 declares the pidfd calls without C linkage for C++; the
// system calls themselves are plain.
int openPidfd(pid_t pid) {
    return static_cast<int>(::syscall(SYS_pidfd_open, pid, 0));
}

void killPidfd(int pidfd) {
    ::syscall(SYS_pidfd_send_signal, pidfd, SIGKILL, nullptr, 0);
}

// Starts a program that ends with this process, however this one ends (even
// by SIGKILL): the kernel sends the child SIGKILL when its parent goes. That
// can only be arranged in the child between fork and exec, which
// posix_spawn does not offer. A pipe that closes on exec tells the parent
// whether the exec succeeded.
// Returns a pidfd of the child (-1 when the kernel offers none), or nullopt
// when it could not be started.
std::optional<int> spawnCompanion(const char* file, char* const argv[]) {
    int report[2];
    if (::pipe2(report, O_CLOEXEC) != 0) {
        return std::nullopt;
    }
    const pid_t parent = ::getpid();
    const pid_t pid = ::fork();
    if (pid == 0) {
        // Only async-signal-safe calls from here to the exec.
        ::close(report[0]);
        ::prctl(PR_SET_PDEATHSIG, SIGKILL);
        if (::getppid() != parent) {
            ::_exit(127); // the parent ended before the request took effect
        }
        sigset_t none;
        sigemptyset(&none);
        ::sigprocmask(SIG_SETMASK, &none, nullptr);
        struct sigaction plain {};
        plain.sa_handler = SIG_DFL;
        sigemptyset(&plain.sa_mask);
        ::sigaction(SIGPIPE, &plain, nullptr);
        ::sigaction(SIGCHLD, &plain, nullptr);
        ::execve(file, argv, environ);
        const int error = errno;
        [[maybe_unused]] const ssize_t written = ::write(report[1], &error, sizeof error);
        ::_exit(127);
    }
    ::close(report[1]);
    if (pid < 0) {
        ::close(report[0]);
        return std::nullopt;
    }
    // A pidfd names this child for good, even once its number is reused.
    const int pidfd = openPidfd(pid);
    int error = 0;
    ssize_t got = 0;
    do {
        got = ::read(report[0], &error, sizeof error);
    } while (got < 0 && errno == EINTR);
    ::close(report[0]);
    // Nothing to read: the exec closed the pipe, the program runs.
    if (got != 0) {
        if (pidfd >= 0) {
            ::close(pidfd);
        }
        return std::nullopt;
    }
    return pidfd;
}

} // namespace

PosixProcesses::PosixProcesses() {
    installReaper();
}

// The orderly end: the companions go first and are collected here, so that
// not even an unreaped entry of theirs outlives the program.
PosixProcesses::~PosixProcesses() {
    for (const int pidfd : m_companions) {
        killPidfd(pidfd);
        siginfo_t info{};
        // Fails at once when the reaper was first; either way it is gone.
        while (::waitid(P_PIDFD, static_cast<id_t>(pidfd), &info, WEXITED) != 0 && errno == EINTR) {
        }
        ::close(pidfd);
    }
}

bool PosixProcesses::start(const std::string& path) {
    std::string local = path;
    char* argv[] = {local.data(), nullptr};
    const auto pidfd = spawnCompanion(local.c_str(), argv);
    if (!pidfd) {
        return false;
    }
    if (*pidfd >= 0) {
        m_companions.push_back(*pidfd);
    }
    return true;
}

bool PosixProcesses::openUrl(const std::string& url) {
    std::string program = "xdg-open";
    std::string argument = url;
    char* argv[] = {program.data(), argument.data(), nullptr};
    return spawn(program.c_str(), argv, true);
}

double SteadyClock::monotonicSeconds() {
    using namespace std::chrono;
    return duration<double>(steady_clock::now().time_since_epoch()).count();
}

void SteadyClock::sleepUntil(double monotonic) {
    using namespace std::chrono;
    std::this_thread::sleep_until(
        steady_clock::time_point(duration_cast<steady_clock::duration>(duration<double>(monotonic))));
}

double SplitMixRandom::next() {
    m_state += 0x9E3779B97F4A7C15ULL;
    std::uint64_t z = m_state;
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    z ^= z >> 31;
    // The top 53 bits give every double in [0, 1) on an even grid.
    return static_cast<double>(z >> 11) * 0x1.0p-53;
}

void SplitMixRandom::reseedFromClock() {
    timespec now{};
    ::clock_gettime(CLOCK_REALTIME, &now);
    m_state =
        static_cast<std::uint64_t>(now.tv_sec) * 1000000000ULL + static_cast<std::uint64_t>(now.tv_nsec);
}

} // namespace tintaro
