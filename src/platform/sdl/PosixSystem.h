#pragma once

#include "platform/Platform.h"

#include <cstdint>

namespace tintaro {

// Starts programs with posix_spawn and never waits for them: a SIGCHLD
// handler reaps every child that ends, so none lingers as a zombie.
class PosixProcesses final : public Processes {
  public:
    PosixProcesses();
    bool start(const std::string& path) override;
    bool openUrl(const std::string& url) override;
};

class SteadyClock final : public Clock {
  public:
    double monotonicSeconds() override;
    double secondsSinceMidnight() override;
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
