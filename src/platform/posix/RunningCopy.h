// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <optional>
#include <string>
#include <thread>

// A second start while the program runs (a double click on the icon, a
// parent looking for a minimised book) asks the running copy to come
// forward, over a Unix socket beside the one-copy lock, and ends.
namespace tintaro::runningcopy {

// The running copy's side: a thread of its own answers every request at
// once (so that a busy event loop never makes a second start wait) and
// keeps the latest for the event loop, until the listener goes.
class Listener {
  public:
    Listener() = default;
    ~Listener();
    Listener(const Listener&) = delete;
    Listener& operator=(const Listener&) = delete;

    bool start(const std::string& socketPath);

  private:
    int m_fd = -1;
    std::thread m_thread;
};

// Called from the listening thread to wake the event loop's wait; must be
// safe to call from any thread.
void setWake(void (*wake)());

// The activation token of a request not yet taken (empty when the second
// start had none), once per request.
std::optional<std::string> takeRequest();

// The second start's side: true once the running copy has the request.
bool askForward(const std::string& socketPath, const std::string& activationToken);

} // namespace tintaro::runningcopy
