// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <condition_variable>
#include <filesystem>
#include <mutex>
#include <thread>

namespace tintaro::test {

// A print server that takes every connection on a Unix socket and never
// answers: it reads and drops what a client sends, and counts the
// connections that came and those the client closed again. Point CUPS at it
// with CUPS_SERVER=<socket>.
class SilentPrintServer {
  public:
    explicit SilentPrintServer(const std::filesystem::path& socketPath);
    ~SilentPrintServer();
    SilentPrintServer(const SilentPrintServer&) = delete;
    SilentPrintServer& operator=(const SilentPrintServer&) = delete;

    bool listening() const { return m_thread.joinable(); }
    // Wait (up to 30 s) until that many connections came, or were closed by the client.
    bool waitForConnections(int count);
    bool waitForClosed(int count);
    int closed();

  private:
    template <typename Condition> bool waitFor(Condition condition);
    void serve();
    void note(int& counter);

    int m_listener = -1;
    int m_stop[2] = {-1, -1};
    std::thread m_thread;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    int m_accepted = 0;
    int m_closed = 0;
};

} // namespace tintaro::test
