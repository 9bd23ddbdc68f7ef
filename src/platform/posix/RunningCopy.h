// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <optional>
#include <string>
#include <thread>

// One copy at a time, and a second start's request that the running copy
// come forward (a double click on the icon, a parent looking for a
// minimised book), both through one listening Unix socket in the abstract
// namespace. Nothing is written to any folder, so nothing can be planted in
// its place or kept from being made, and the kernel frees the name the
// moment the process ends, however it ends. The name is open to any local
// user, so each side checks that the other is the same user.
namespace tintaro::runningcopy {

enum class Claim {
    Ours,            // this process holds the name now
    HeldByUs,        // another copy of this user holds it
    HeldByOtherUser, // someone else took the name first
    Unavailable,     // no socket could be made at all
};

// Claims `name` (without the leading zero byte); with Ours, `fd` is the
// listening socket.
Claim claim(const std::string& name, int& fd);

// The running copy's side: a thread of its own answers every request of the
// same user at once (so that a busy event loop never makes a second start
// wait) and keeps the latest for the event loop, until the listener goes.
class Listener {
  public:
    Listener() = default;
    ~Listener();
    Listener(const Listener&) = delete;
    Listener& operator=(const Listener&) = delete;

    // Takes over the listening socket of a claim.
    void start(int fd);

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

// The second start's side: true once a copy of this user has the request.
bool askForward(const std::string& name, const std::string& activationToken);

} // namespace tintaro::runningcopy
