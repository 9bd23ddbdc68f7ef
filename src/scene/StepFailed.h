// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <exception>

namespace tintaro {

// Thrown by a step that fails (a picture that cannot be read, a music request
// the player refuses). A handler's error trap catches it, so the handler ends
// silently at that step, the steps before stay done and the caller goes on.
struct StepFailed {};

// Runs `body` under an error trap whose target is its own end. Any failure of
// the standard library (an allocation that cannot be met, a length too large)
// ends the step the same way: no step may end the program. Only the program's
// own ending (ProgramEnd) passes through.
template <class Body> void trapped(Body&& body) {
    try {
        body();
    } catch (const StepFailed&) {
    } catch (const std::exception&) {
    }
}

} // namespace tintaro
