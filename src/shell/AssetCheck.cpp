// SPDX-License-Identifier: GPL-3.0-or-later

#include "shell/AssetCheck.h"

#include "audio/Music.h"
#include "shell/AssetManifest.h"

#include <iostream>
#include <string>

namespace tintaro {

namespace {

// Ending without a word would look like success to whoever started the
// program, so the end carries a failure status and names the file.
constexpr int kAssetCheckFailed = 1;

// One sentence says what is wrong: on standard error for a terminal, and in
// a message window for a parent who started the program from a menu, where
// nobody reads standard error. Closing the window ends the program.
// Whatever failed, the guard goes before the message: the parent needs the
// keyboard to answer it, and for the rest of the desktop.
[[noreturn]] void endNaming(FormaMain& f, const std::string& file, const std::string& sentence) {
    std::cerr << "tintaro: " << sentence << "\n";
    if (f.state.KeyboardHookHandle != 0) {
        f.platform.guard.remove(f.state.KeyboardHookHandle);
    }
    f.platform.window.hide();
    f.platform.window.showMessage("Tintaro cannot start: " + file, sentence);
    throw ProgramEnd{kAssetCheckFailed};
}

} // namespace

void VerifyAssetFiles(FormaMain& f) {
    for (const auto& row : AssetManifest) {
        const std::string file = std::string("PICTURE/") + row.file;
        const auto length = f.platform.files.length(f.localPath(picturePath(row.file)));
        if (!length) {
            endNaming(f, file, file + " is missing (expected " + std::to_string(row.length) + " bytes)");
        }
        if (*length != row.length) {
            if (f.state.MusicPlaying == 1) {
                StopMusic(f);
            }
            endNaming(f, file,
                      file + " has " + std::to_string(*length) + " bytes, expected " +
                          std::to_string(row.length));
        }
    }
}

} // namespace tintaro
