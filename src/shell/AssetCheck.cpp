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

} // namespace

void VerifyAssetFiles(FormaMain& f) {
    for (const auto& row : AssetManifest) {
        const std::string path = f.state.AppPath + "\\PICTURE\\" + row.file;
        const auto length = f.platform.files.length(path);
        if (!length) {
            std::cerr << "tintaro: PICTURE/" << row.file << " is missing (expected " << row.length
                      << " bytes)\n";
            throw ProgramEnd{kAssetCheckFailed};
        }
        if (*length != row.length) {
            std::cerr << "tintaro: PICTURE/" << row.file << " has " << *length << " bytes, expected "
                      << row.length << "\n";
            if (f.state.MusicPlaying == 1) {
                StopMusic(f);
            }
            if (f.state.KeyboardHookHandle != 0) {
                f.platform.guard.remove(f.state.KeyboardHookHandle);
            }
            throw ProgramEnd{kAssetCheckFailed};
        }
    }
}

} // namespace tintaro
