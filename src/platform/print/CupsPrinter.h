// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/Platform.h"

#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <thread>

namespace tintaro {

// Prints on the default CUPS destination without a dialog.
//
// A print server that never answers would hold every CUPS request for a
// minute, so the pages go to CUPS from a thread of their own, one after
// another, and each page's requests give up once it has taken `pageSeconds`.
// print() only hands the page over and returns at once.
class CupsPrinter final : public Printer {
  public:
    static constexpr double kPageSeconds = 10.0;

    explicit CupsPrinter(double pageSeconds = kPageSeconds);
    // A page on its way gets a moment to reach the server; after that its
    // requests give up and pages still waiting are dropped.
    ~CupsPrinter() override;
    CupsPrinter(const CupsPrinter&) = delete;
    CupsPrinter& operator=(const CupsPrinter&) = delete;

    // False only when pages are piling up already (a server that does not answer).
    bool print(const Image& picture) override;

    // Waits until every page handed over has reached the server or given up.
    void waitUntilIdle();
    // Pages that reached the server, and pages that did not.
    int pagesSent() const;
    int pagesFailed() const;

  private:
    struct Queue;
    std::shared_ptr<Queue> m_queue; // shared with the thread, which may outlive this object at exit
    std::thread m_thread;
};

std::unique_ptr<Printer> createCupsPrinter();

} // namespace tintaro
