// SPDX-License-Identifier: GPL-3.0-or-later
// Ctrl+P with a print server that takes the connection and never answers:
// how long the print request holds its caller (in the program, the screen),
// and how long the page's own requests wait before they give up.
// usage: print_freeze [ROUNDS]

#include "platform/print/CupsPrinter.h"
#include "support/SilentPrintServer.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

namespace fs = std::filesystem;
using namespace tintaro;
using Steady = std::chrono::steady_clock;

int main(int argc, char** argv) {
    const int rounds = argc > 1 ? std::atoi(argv[1]) : 3;
    const fs::path dir = fs::temp_directory_path() / ("tintaro-print-freeze-" + std::to_string(::getpid()));
    fs::create_directories(dir);
    test::SilentPrintServer server(dir / "cups.sock");
    if (!server.listening()) {
        std::printf("cannot listen on %s\n", (dir / "cups.sock").c_str());
        return 1;
    }
    ::setenv("CUPS_SERVER", (dir / "cups.sock").c_str(), 1);
    ::setenv("HOME", dir.c_str(), 1);
    ::setenv("TMPDIR", dir.c_str(), 1);
    ::unsetenv("PRINTER");
    ::unsetenv("LPDEST");
    const Image canvas(750, 600);
    std::printf("Print with a silent print server (%d rounds)\n", rounds);
    for (int round = 1; round <= rounds; ++round) {
        CupsPrinter printer;
        const auto pressed = Steady::now();
        const bool accepted = printer.print(canvas);
        const auto returned = Steady::now();
        printer.waitUntilIdle();
        const auto gaveUp = Steady::now();
        std::printf("round %d: print() held the caller %.3f ms (page %s); the page gave up after %.2f s\n",
                    round, std::chrono::duration<double, std::milli>(returned - pressed).count(),
                    accepted ? "handed over" : "refused",
                    std::chrono::duration<double>(gaveUp - pressed).count());
    }
    fs::remove_all(dir);
    return 0;
}
