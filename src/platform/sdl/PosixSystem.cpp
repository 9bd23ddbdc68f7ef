#include "platform/sdl/PosixSystem.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <ctime>
#include <spawn.h>
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

} // namespace

PosixProcesses::PosixProcesses() {
    installReaper();
}

bool PosixProcesses::start(const std::string& path) {
    std::string program = path;
    char* argv[] = {program.data(), nullptr};
    return spawn(program.c_str(), argv, false);
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

double SteadyClock::secondsSinceMidnight() {
    timespec now{};
    ::clock_gettime(CLOCK_REALTIME, &now);
    tm local{};
    ::localtime_r(&now.tv_sec, &local);
    return local.tm_hour * 3600.0 + local.tm_min * 60.0 + local.tm_sec + now.tv_nsec / 1e9;
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
