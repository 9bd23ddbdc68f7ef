// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/posix/SignalFreeThread.h"

#include <pthread.h>
#include <signal.h>

namespace tintaro {

std::thread startSignalFreeThread(const char* name, std::function<void()> body) {
    // A new thread inherits the mask of the thread that makes it, so it is
    // born with every signal blocked and never has a moment without the mask.
    sigset_t all;
    sigset_t previous;
    sigfillset(&all);
    pthread_sigmask(SIG_BLOCK, &all, &previous);
    std::thread thread;
    try {
        thread = std::thread(std::move(body));
        pthread_setname_np(thread.native_handle(), name);
    } catch (...) {
        pthread_sigmask(SIG_SETMASK, &previous, nullptr);
        throw;
    }
    pthread_sigmask(SIG_SETMASK, &previous, nullptr);
    return thread;
}

} // namespace tintaro
