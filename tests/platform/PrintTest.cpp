// SPDX-License-Identifier: GPL-3.0-or-later
// The printed page: the PDF is rendered back with poppler's pdftoppm at 96
// pixels per inch, where one pixel of the picture is one pixel of the render.

#include "platform/print/CupsPrinter.h"
#include "platform/print/PdfPage.h"
#include "support/SilentPrintServer.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;
using namespace tintaro;
using tintaro::test::SilentPrintServer;

namespace {

struct Rgb {
    int r, g, b;
    bool operator==(const Rgb&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Rgb& c) {
    return out << "(" << c.r << ", " << c.g << ", " << c.b << ")";
}

struct Raster {
    int width = 0;
    int height = 0;
    std::string bytes;
    Rgb at(int x, int y) const {
        const std::size_t i = (static_cast<std::size_t>(y) * width + x) * 3;
        return {static_cast<unsigned char>(bytes[i]), static_cast<unsigned char>(bytes[i + 1]),
                static_cast<unsigned char>(bytes[i + 2])};
    }
};

// Reads a binary PPM as pdftoppm writes it (maxval 255, no comments).
std::optional<Raster> readPpm(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::string magic;
    int maxval = 0;
    Raster raster;
    if (!(in >> magic >> raster.width >> raster.height >> maxval) || magic != "P6" || maxval != 255) {
        return std::nullopt;
    }
    in.get();
    raster.bytes.resize(static_cast<std::size_t>(raster.width) * raster.height * 3);
    if (!in.read(raster.bytes.data(), static_cast<std::streamsize>(raster.bytes.size()))) {
        return std::nullopt;
    }
    return raster;
}

std::string commandOutput(const std::string& command) {
    std::string output;
    if (FILE* pipe = ::popen(command.c_str(), "r")) {
        std::array<char, 256> buffer{};
        while (std::fgets(buffer.data(), buffer.size(), pipe) != nullptr) {
            output += buffer.data();
        }
        ::pclose(pipe);
    }
    return output;
}

class PrintTest : public ::testing::Test {
  protected:
    void SetUp() override {
        m_dir = fs::temp_directory_path() / ("tintaro-print-" + std::to_string(::getpid()) + "-" +
                                             ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(m_dir);
        fs::create_directories(m_dir);
    }
    void TearDown() override {
        fs::remove_all(m_dir);
        for (const auto& [name, value] : m_savedEnvironment) {
            if (value) {
                ::setenv(name.c_str(), value->c_str(), 1);
            } else {
                ::unsetenv(name.c_str());
            }
        }
    }

    // The canvas with marks that show position, orientation and colour order:
    // red at the top left corner, blue at the bottom right, green elsewhere.
    static Image markedCanvas() {
        Image picture(750, 600, rgb(0, 160, 0));
        for (int y = 0; y < 20; ++y) {
            for (int x = 0; x < 30; ++x) {
                picture.at(x, y) = rgb(255, 0, 0);
                picture.at(749 - x, 599 - y) = rgb(0, 0, 255);
            }
        }
        return picture;
    }

    Raster render(const fs::path& pdf) const {
        const fs::path stem = m_dir / "page";
        const std::string command =
            "pdftoppm -r 96 -singlefile '" + pdf.string() + "' '" + stem.string() + "'";
        EXPECT_EQ(std::system(command.c_str()), 0) << command;
        std::optional<Raster> raster = readPpm(stem.string() + ".ppm");
        EXPECT_TRUE(raster.has_value());
        return raster.value_or(Raster{});
    }

    // Points CUPS at the server's socket with no user settings; the folder
    // for temporary files, empty.
    fs::path useServer(const fs::path& socket) {
        for (const char* name : {"CUPS_SERVER", "TMPDIR", "HOME", "PRINTER", "LPDEST"}) {
            const char* value = std::getenv(name);
            m_savedEnvironment.emplace_back(name, value ? std::optional<std::string>(value) : std::nullopt);
        }
        const fs::path tmp = m_dir / "tmp";
        fs::create_directories(tmp);
        ::setenv("CUPS_SERVER", socket.c_str(), 1);
        ::setenv("TMPDIR", tmp.c_str(), 1);
        ::setenv("HOME", m_dir.c_str(), 1);
        ::unsetenv("PRINTER");
        ::unsetenv("LPDEST");
        return tmp;
    }

    fs::path m_dir;
    std::vector<std::pair<std::string, std::optional<std::string>>> m_savedEnvironment;
};

TEST(PageLayout, FromCupsHundredthsOfMillimetre) {
    struct Case {
        const char* paper;
        int width, length, left, top;
        print::PageLayout points;
    };
    const Case cases[] = {
        {"A4 borderless", 21000, 29700, 0, 0, {595.2756, 841.8898, 0, 0}},
        {"Letter, quarter inch", 21590, 27940, 635, 635, {612, 792, 18, 18}},
        {"A4, uneven margins", 21000, 29700, 340, 1270, {595.2756, 841.8898, 9.6378, 36}},
    };
    for (const Case& c : cases) {
        const print::PageLayout page =
            print::pageFromHundredthsOfMillimetre(c.width, c.length, c.left, c.top);
        EXPECT_NEAR(page.width, c.points.width, 1e-3) << c.paper;
        EXPECT_NEAR(page.height, c.points.height, 1e-3) << c.paper;
        EXPECT_NEAR(page.left, c.points.left, 1e-3) << c.paper;
        EXPECT_NEAR(page.top, c.points.top, 1e-3) << c.paper;
    }
    // The canvas at 96 pixels per inch fits the printable area of both papers upright.
    EXPECT_DOUBLE_EQ(750 * print::kPointsPerPixel, 562.5);
    EXPECT_DOUBLE_EQ(600 * print::kPointsPerPixel, 450);
    const print::PageLayout a4 = print::fallbackPage();
    EXPECT_LE(a4.left * 2 + 562.5, a4.width);
    EXPECT_LE(a4.top * 2 + 450, a4.height);
}

TEST_F(PrintTest, PictureSitsUnscaledAtTheTopLeftOfThePrintableArea) {
    // Margins of 36 pt and 18 pt are 48 and 24 pixels at 96 per inch.
    const print::PageLayout page = print::pageFromHundredthsOfMillimetre(21000, 29700, 635, 1270);
    const fs::path pdf = m_dir / "page.pdf";
    ASSERT_TRUE(print::writePdfPage(markedCanvas(), page, pdf.string()));

    const std::string info = commandOutput("pdfinfo '" + pdf.string() + "'");
    EXPECT_NE(info.find("Pages:           1\n"), std::string::npos) << info;
    EXPECT_NE(info.find("Page size:       595.276 x 841.89 pts (A4)"), std::string::npos) << info;

    const Raster raster = render(pdf);
    ASSERT_EQ(raster.width, 794);
    ASSERT_EQ(raster.height, 1123);
    const int left = 24;
    const int top = 48;
    const Rgb white{255, 255, 255}, red{255, 0, 0}, green{0, 160, 0}, blue{0, 0, 255};
    struct Probe {
        int x, y;
        Rgb colour;
    };
    // Probes keep two pixels from every edge: poppler may round an edge by one.
    const Probe probes[] = {
        {left + 2, top + 2, red},   // the picture starts at the corner
        {left + 27, top + 17, red}, // the red mark keeps its size: 30 x 20
        {left + 32, top + 5, green},    {left + 5, top + 22, green},
        {left + 747, top + 597, blue}, // and ends 750 x 600 further: unscaled
        {left + 722, top + 582, blue},  {left + 717, top + 597, green},
        {left + 400, top + 300, green}, {left - 2, top + 5, white},     // the margins stay blank
        {left + 5, top - 2, white},     {left + 752, top + 597, white}, // and so does the rest of the page
        {left + 747, top + 602, white}, {raster.width - 1, raster.height - 1, white},
    };
    for (const Probe& p : probes) {
        EXPECT_EQ(raster.at(p.x, p.y), p.colour) << "at " << p.x << ", " << p.y;
    }
}

TEST_F(PrintTest, UnwritablePathIsRefused) {
    EXPECT_FALSE(
        print::writePdfPage(markedCanvas(), print::fallbackPage(), (m_dir / "no" / "page.pdf").string()));
    EXPECT_FALSE(print::writePdfPage(Image{}, print::fallbackPage(), (m_dir / "empty.pdf").string()));
}

// Without a print server nothing is printed, nothing is said, and the
// temporary PDF does not stay behind.
TEST_F(PrintTest, NoCupsServerMeansNoPrint) {
    const fs::path tmp = useServer(m_dir / "no-cupsd.sock");
    CupsPrinter printer;
    EXPECT_TRUE(printer.print(markedCanvas())) << "the page is handed over";
    printer.waitUntilIdle();
    EXPECT_EQ(printer.pagesSent(), 0);
    EXPECT_EQ(printer.pagesFailed(), 1);
    EXPECT_TRUE(fs::is_empty(tmp));
}

// A server that takes the connection and never answers would hold a request
// for a minute: the caller has its answer while the page's request still
// waits, a few more pages may wait behind it, and when the printer goes the
// request gives up.
TEST_F(PrintTest, UnansweringServerNeverHoldsTheCaller) {
    const fs::path socket = m_dir / "cups.sock";
    SilentPrintServer server(socket);
    ASSERT_TRUE(server.listening());
    useServer(socket);
    {
        CupsPrinter printer;
        ASSERT_TRUE(printer.print(markedCanvas()));
        ASSERT_TRUE(server.waitForConnections(1));
        EXPECT_EQ(server.closed(), 0) << "print() returned while its request still waits";
        for (int waiting = 1; waiting <= 3; ++waiting) {
            EXPECT_TRUE(printer.print(markedCanvas())) << waiting;
        }
        EXPECT_FALSE(printer.print(markedCanvas()))
            << "no more than three pages wait behind the one on its way";
        EXPECT_EQ(printer.pagesSent() + printer.pagesFailed(), 0);
    }
    EXPECT_TRUE(server.waitForClosed(1)) << "the request gave up when the printer went";
}

// Each page's requests give up at the page's own deadline, and the next page
// is tried afresh.
TEST_F(PrintTest, APageGivesUpAtItsDeadline) {
    const fs::path socket = m_dir / "cups.sock";
    SilentPrintServer server(socket);
    ASSERT_TRUE(server.listening());
    const fs::path tmp = useServer(socket);
    CupsPrinter printer(0.3);
    for (int page = 1; page <= 2; ++page) {
        ASSERT_TRUE(printer.print(markedCanvas()));
        printer.waitUntilIdle();
        EXPECT_EQ(printer.pagesFailed(), page);
        EXPECT_TRUE(server.waitForClosed(page));
    }
    EXPECT_EQ(printer.pagesSent(), 0);
    EXPECT_TRUE(fs::is_empty(tmp));
}

} // namespace
