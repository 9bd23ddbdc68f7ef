// SPDX-License-Identifier: GPL-3.0-or-later
// A program that starts another through the real PosixProcesses and then
// ends, in order (its objects destroyed, as the program's own end does) or
// at once (std::_Exit, as a crash or the exit watchdog would), for the test
// that checks the started program never outlives it. It waits until the
// started program has written the file WAIT_FOR, so that the program is
// surely running when it ends.
//   starting_parent PROGRAM WAIT_FOR orderly|abrupt

#include "platform/posix/PosixSystem.h"

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <thread>

int main(int argc, char** argv) {
    if (argc != 4) {
        return 2;
    }
    const bool abrupt = std::strcmp(argv[3], "abrupt") == 0;
    {
        tintaro::PosixProcesses processes;
        if (!processes.start(argv[1])) {
            return 3;
        }
        std::error_code error;
        for (int i = 0; i < 500 && !(std::filesystem::file_size(argv[2], error) > 0 && !error); ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        if (abrupt) {
            std::_Exit(0);
        }
    }
    return 0;
}
