// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/posix/PosixInstanceLock.h"
#include "platform/sdl/SdlPlatform.h"
#include "shell/Program.h"

#include <cstdlib>
#include <cstring>
#include <iostream>
#include <memory>
#include <string>

namespace {

constexpr const char* kUsage = "Usage: tintaro [--windowed]\n"
                               "A full-screen colouring book for small children.\n"
                               "\n"
                               "  --windowed  a 1024 x 768 window instead of full screen\n"
                               "  --help      show this help\n"
                               "  --version   show the version\n"
                               "\n"
                               "Parents: Ctrl+P prints the picture, Ctrl+R shows information,\n"
                               "Ctrl+X asks whether to leave.\n";

} // namespace

int main(int argc, char** argv) {
    bool windowed = false;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--help") == 0) {
            std::cout << kUsage;
            return 0;
        }
        if (std::strcmp(argv[i], "--version") == 0) {
            std::cout << "tintaro " << TINTARO_VERSION << "\n"
                      << "Copyright 2026 Quelvan Studio.\n"
                      << "License GPLv3+: GNU GPL version 3 or later <https://gnu.org/licenses/gpl.html>.\n"
                      << "This is free software: you are free to change and redistribute it.\n"
                      << "There is NO WARRANTY, to the extent permitted by law.\n";
            return 0;
        }
        if (std::strcmp(argv[i], "--windowed") == 0) {
            windowed = true;
            continue;
        }
        std::cerr << "tintaro: unknown option '" << argv[i] << "'\n" << kUsage;
        return 2;
    }
    // The one-copy lock comes before anything that touches the display or
    // the keyboard: a second start (a double click too many, a parent
    // looking for a minimised book) only brings the running copy forward,
    // passing on the desktop's permission to take the focus.
    auto instance = std::make_unique<tintaro::PosixInstanceLock>();
    if (!instance->acquire()) {
        const char* token = std::getenv("XDG_ACTIVATION_TOKEN");
        if (instance->askHolderForward(token != nullptr ? token : "")) {
            return 0;
        }
        std::cerr << "tintaro: another copy is running but does not answer\n";
        return 1;
    }
    // The display comes first: without one, a single plain line says so
    // before the sound libraries have anything to say.
    std::string problem;
    auto platform = tintaro::SdlPlatform::open(windowed, std::move(instance), problem);
    if (!platform && !problem.empty()) {
        std::cerr << "tintaro: " << problem << "\n";
        return 1;
    }
    if (!platform) {
        std::cerr << "tintaro: cannot open the display\n";
        return 1;
    }
    return tintaro::runProgram(platform->platform());
}
