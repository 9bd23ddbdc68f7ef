// SPDX-License-Identifier: GPL-3.0-or-later

#include "shell/Program.h"

#include "audio/Music.h"
#include "audio/SoundEffects.h"
#include "colouring/Canvas.h"
#include "colouring/Eraser.h"
#include "colouring/Palette.h"
#include "colouring/Tools.h"
#include "feedback/HoverFaces.h"
#include "gallery/GalleryScreen.h"
#include "gallery/PictureSelection.h"
#include "gallery/ThumbnailHighlight.h"
#include "panels/ExitPanel.h"
#include "panels/InfoPanel.h"
#include "shell/EventLoop.h"
#include "shell/Shortcuts.h"
#include "shell/Shutdown.h"
#include "shell/Startup.h"

#include <string>

namespace tintaro {

void registerHandlers(FormaMain& f) {
    registerHoverFaces(f);
    registerCanvas(f);
    registerTools(f);
    registerPalette(f);
    registerEraser(f);
    registerSoundSwitch(f);
    registerMusic(f, f.music);
    registerGalleryScreen(f);
    registerPictureSelection(f);
    registerThumbnailHighlight(f);
    registerExitPanel(f);
    registerInfoPanel(f);
    registerShortcuts(f);
    f.hooks.pause = [&f] { StartupPause(f); };
    f.hooks.endFromExitConfirmation = [&f] { endFromExitConfirmation(f); };
}

int runProgram(Platform& platform) {
    // A second start while the book is open (a double click too many) is no
    // error: the child already has what it asked for.
    if (!platform.instance.acquire()) {
        return 0;
    }
    FormaMain f(platform);
    registerHandlers(f);
    try {
        if (!platform.window.create(std::string(kWindowCaption))) {
            return 1;
        }
        f.state.AppPath = platform.files.executableDirectory();
        f.scene.create();
        loadFormaMain(f);
        deliverEvents(f, -1);
    } catch (const ProgramEnd& end) {
        return end.status;
    }
    return 0;
}

} // namespace tintaro
