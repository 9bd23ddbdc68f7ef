// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <functional>
#include <thread>

namespace tintaro {

// A thread of the platform's own that never receives a signal: SIGTERM,
// SIGINT and the rest stay with the threads that expect them, as SDL does
// for its own threads. `name` (at most 15 characters) shows in ps and /proc.
std::thread startSignalFreeThread(const char* name, std::function<void()> body);

} // namespace tintaro
