// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/Platform.h"

#include <cstdint>
#include <vector>

namespace tintaro {

// Starts programs and never waits for them: a SIGCHLD handler reaps every
// child that ends, so none lingers as a zombie. A program started with
// start() (the companion) ends when this process ends; the browser of
// openUrl() lives on.
class PosixProcesses final : public Processes {
  public:
    PosixProcesses();
    ~PosixProcesses() override;
    PosixProcesses(const PosixProcesses&) = delete;
    PosixProcesses& operator=(const PosixProcesses&) = delete;
    bool start(const std::string& path) override;
    bool openUrl(const std::string& url) override;

  private:
    std::vector<int> m_companions; // pidfds of the programs start() began
};

class SteadyClock final : public Clock {
  public:
    double monotonicSeconds() override;
    void sleepUntil(double monotonic) override;
};

// splitmix64: tiny, fast and statistically sound for picking pixels and
// colours; the fixed start state makes every run draw the same numbers
// until the first reseed.
class SplitMixRandom final : public Random {
  public:
    double next() override;
    void reseedFromClock() override;

  private:
    std::uint64_t m_state = 0x5DEECE66DULL;
};

} // namespace tintaro
