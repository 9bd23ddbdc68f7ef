// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/posix/ExitWatchdog.h"

#include <atomic>
#include <chrono>
#include <csignal>
#include <pthread.h>
#include <thread>
#include <unistd.h>

namespace tintaro::exitwatchdog {

namespace {

// Long enough for every orderly end (the unload closes the music down), short
// enough that the keyboard is free within two seconds of any request.
constexpr auto kGrace = std::chrono::milliseconds(1500);
// How often a waiting event loop is woken until it answers a signal.
constexpr auto kWakeInterval = std::chrono::milliseconds(100);

// Plain atomics only: the watchdog's threads outlive every destructor.
std::atomic<int> g_signal{0}; // the signal that asked for the end
std::atomic<bool> g_taken{false};
std::atomic<bool> g_armed{false};
std::atomic<void (*)()> g_wake{nullptr};

sigset_t endSignals() {
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, SIGTERM);
    sigaddset(&set, SIGINT);
    sigaddset(&set, SIGHUP);
    return set;
}

[[noreturn]] void endAtOnce(int signal) {
    static constexpr char kText[] = "tintaro: no orderly end within 1.5 s of the request; ending at once\n";
    [[maybe_unused]] const ssize_t written = ::write(STDERR_FILENO, kText, sizeof kText - 1);
    if (signal != 0) {
        // Ended by the signal, as a program that never handled it would be.
        struct sigaction plain {};
        plain.sa_handler = SIG_DFL;
        sigemptyset(&plain.sa_mask);
        ::sigaction(signal, &plain, nullptr);
        sigset_t one;
        sigemptyset(&one);
        sigaddset(&one, signal);
        ::pthread_sigmask(SIG_UNBLOCK, &one, nullptr);
        ::raise(signal);
    }
    ::_exit(signal != 0 ? 128 + signal : 1);
}

void armFor(int signal) {
    if (g_armed.exchange(true)) {
        return;
    }
    std::thread([signal] {
        std::this_thread::sleep_for(kGrace);
        endAtOnce(signal);
    }).detach();
}

void receiveSignals() {
    const sigset_t set = endSignals();
    for (;;) {
        int signal = 0;
        if (::sigwait(&set, &signal) != 0) {
            continue;
        }
        int none = 0;
        if (!g_signal.compare_exchange_strong(none, signal)) {
            continue; // the first request is already on its way
        }
        armFor(signal);
        // A loop that waits for events learns of the request only when woken;
        // one that is busy sees it at its next wait.
        while (!g_taken.load()) {
            if (auto wake = g_wake.load()) {
                wake();
            }
            std::this_thread::sleep_for(kWakeInterval);
        }
    }
}

} // namespace

void start() {
    static std::atomic<bool> started{false};
    if (started.exchange(true)) {
        return;
    }
    const sigset_t set = endSignals();
    ::pthread_sigmask(SIG_BLOCK, &set, nullptr);
    std::thread(receiveSignals).detach();
}

void setWake(void (*wake)()) {
    g_wake.store(wake);
}

bool takeRequest() {
    return g_signal.load() != 0 && !g_taken.exchange(true);
}

void armDeadline() {
    armFor(g_signal.load());
}

} // namespace tintaro::exitwatchdog
