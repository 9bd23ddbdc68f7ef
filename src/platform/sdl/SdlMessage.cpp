#include "platform/sdl/SdlWindow.h"

#include <SDL.h>
#include <csignal>
#include <pthread.h>

namespace tintaro {

void SdlWindow::showMessage(const std::string& title, const std::string& text) {
    // On X11, SDL shows the box from a child process and then waits for that
    // very child. Our reaper of started programs collects any child that
    // ends, and would leave SDL's wait without its child; so SIGCHLD waits
    // until the box is closed, and the reaper collects the rest then.
    sigset_t childSignal;
    sigset_t previous;
    sigemptyset(&childSignal);
    sigaddset(&childSignal, SIGCHLD);
    pthread_sigmask(SIG_BLOCK, &childSignal, &previous);
    SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, title.c_str(), text.c_str(), nullptr);
    pthread_sigmask(SIG_SETMASK, &previous, nullptr);
}

} // namespace tintaro
