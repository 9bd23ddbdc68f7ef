#pragma once

namespace tintaro {

// Thrown by a step that fails (a picture that cannot be read, a music request
// the player refuses). A handler's error trap catches it, so the handler ends
// silently at that step, the steps before stay done and the caller goes on.
struct StepFailed {};

// Runs `body` under an error trap whose target is its own end.
template <class Body> void trapped(Body&& body) {
    try {
        body();
    } catch (const StepFailed&) {
    }
}

} // namespace tintaro
