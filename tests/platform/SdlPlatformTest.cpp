// SPDX-License-Identifier: GPL-3.0-or-later
// The real files, codec, key codes, random numbers and process reaper of the
// SDL platform layer. None of this opens a window.

#include "platform/AppPath.h"
#include "platform/posix/PosixFiles.h"
#include "platform/posix/PosixInstanceLock.h"
#include "platform/posix/PosixSystem.h"
#include "platform/sdl/KeyMap.h"
#include "platform/sdl/SdlCodec.h"

#include <gtest/gtest.h>
#include <pwd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include <csignal>
#include <fcntl.h>
#include <optional>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;
using namespace tintaro;

namespace {

// This process's id, as /proc names it.
std::string ownPid() {
    return fs::read_symlink("/proc/self").filename().string();
}

// 16 x 8 baseline JPEG, 4:4:4: the left half red, the right half blue.
const std::uint8_t kRedBlueJpeg[] = {
    0xff, 0xd8, 0xff, 0xe0, 0x00, 0x10, 0x4a, 0x46, 0x49, 0x46, 0x00, 0x01, 0x01, 0x00, 0x00, 0x01, 0x00,
    0x01, 0x00, 0x00, 0xff, 0xdb, 0x00, 0x43, 0x00, 0x02, 0x01, 0x01, 0x01, 0x01, 0x01, 0x02, 0x01, 0x01,
    0x01, 0x02, 0x02, 0x02, 0x02, 0x02, 0x04, 0x03, 0x02, 0x02, 0x02, 0x02, 0x05, 0x04, 0x04, 0x03, 0x04,
    0x06, 0x05, 0x06, 0x06, 0x06, 0x05, 0x06, 0x06, 0x06, 0x07, 0x09, 0x08, 0x06, 0x07, 0x09, 0x07, 0x06,
    0x06, 0x08, 0x0b, 0x08, 0x09, 0x0a, 0x0a, 0x0a, 0x0a, 0x0a, 0x06, 0x08, 0x0b, 0x0c, 0x0b, 0x0a, 0x0c,
    0x09, 0x0a, 0x0a, 0x0a, 0xff, 0xdb, 0x00, 0x43, 0x01, 0x02, 0x02, 0x02, 0x02, 0x02, 0x02, 0x05, 0x03,
    0x03, 0x05, 0x0a, 0x07, 0x06, 0x07, 0x0a, 0x0a, 0x0a, 0x0a, 0x0a, 0x0a, 0x0a, 0x0a, 0x0a, 0x0a, 0x0a,
    0x0a, 0x0a, 0x0a, 0x0a, 0x0a, 0x0a, 0x0a, 0x0a, 0x0a, 0x0a, 0x0a, 0x0a, 0x0a, 0x0a, 0x0a, 0x0a, 0x0a,
    0x0a, 0x0a, 0x0a, 0x0a, 0x0a, 0x0a, 0x0a, 0x0a, 0x0a, 0x0a, 0x0a, 0x0a, 0x0a, 0x0a, 0x0a, 0x0a, 0x0a,
    0x0a, 0x0a, 0x0a, 0x0a, 0x0a, 0xff, 0xc0, 0x00, 0x11, 0x08, 0x00, 0x08, 0x00, 0x10, 0x03, 0x01, 0x11,
    0x00, 0x02, 0x11, 0x01, 0x03, 0x11, 0x01, 0xff, 0xc4, 0x00, 0x14, 0x00, 0x01, 0x00, 0x00, 0x00, 0x00,
    0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x08, 0xff, 0xc4, 0x00, 0x14, 0x10,
    0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
    0xff, 0xc4, 0x00, 0x16, 0x01, 0x01, 0x01, 0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
    0x00, 0x00, 0x00, 0x00, 0x0a, 0x08, 0x09, 0xff, 0xc4, 0x00, 0x14, 0x11, 0x01, 0x00, 0x00, 0x00, 0x00,
    0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xff, 0xda, 0x00, 0x0c, 0x03,
    0x01, 0x00, 0x02, 0x11, 0x03, 0x11, 0x00, 0x3f, 0x00, 0x17, 0xa5, 0x36, 0xfe, 0x08, 0x65, 0x50, 0x35,
    0xef, 0xff, 0xd9};

std::string slurp(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// A file a child process writes: there, and written to.
bool hasContent(const fs::path& p) {
    std::error_code error;
    return fs::file_size(p, error) > 0 && !error;
}

void put(const fs::path& p, const std::string& text) {
    std::ofstream out(p, std::ios::binary);
    out << text;
}

void le16(Bytes& b, unsigned v) {
    b.push_back(static_cast<std::uint8_t>(v));
    b.push_back(static_cast<std::uint8_t>(v >> 8));
}

void le32(Bytes& b, unsigned v) {
    le16(b, v & 0xFFFF);
    le16(b, v >> 16);
}

// A one-image ICO of 32-bit BGRA pixels (rows bottom-up, as in a BMP). As
// icon writers do, the AND mask marks every pixel that is not fully opaque.
Bytes makeIco(int w, int h, const std::vector<std::uint32_t>& argbTopDown) {
    const unsigned maskRow = static_cast<unsigned>(((w + 31) / 32) * 4);
    const unsigned pixelBytes = static_cast<unsigned>(w * h * 4);
    const unsigned dibSize = 40 + pixelBytes + maskRow * static_cast<unsigned>(h);
    Bytes b;
    le16(b, 0); // reserved
    le16(b, 1); // icon
    le16(b, 1); // one image
    b.push_back(static_cast<std::uint8_t>(w));
    b.push_back(static_cast<std::uint8_t>(h));
    b.push_back(0); // no palette
    b.push_back(0);
    le16(b, 1);  // planes
    le16(b, 32); // bits per pixel
    le32(b, dibSize);
    le32(b, 22); // the image follows the 6 + 16 bytes of the directory
    le32(b, 40);
    le32(b, static_cast<unsigned>(w));
    le32(b, static_cast<unsigned>(h * 2)); // colour rows and mask rows
    le16(b, 1);
    le16(b, 32);
    le32(b, 0); // uncompressed
    le32(b, pixelBytes + maskRow * static_cast<unsigned>(h));
    for (int i = 0; i < 4; ++i) {
        le32(b, 0);
    }
    for (int y = h - 1; y >= 0; --y) {
        for (int x = 0; x < w; ++x) {
            le32(b, argbTopDown[static_cast<std::size_t>(y * w + x)]);
        }
    }
    for (int y = h - 1; y >= 0; --y) {
        std::vector<std::uint8_t> row(maskRow, 0);
        for (int x = 0; x < w; ++x) {
            if ((argbTopDown[static_cast<std::size_t>(y * w + x)] >> 24) != 0xFF) {
                row[static_cast<std::size_t>(x / 8)] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
            }
        }
        b.insert(b.end(), row.begin(), row.end());
    }
    return b;
}

bool startsWith(const Bytes& b, std::string_view magic) {
    return b.size() >= magic.size() &&
           std::equal(magic.begin(), magic.end(), b.begin(),
                      [](char m, std::uint8_t c) { return static_cast<std::uint8_t>(m) == c; });
}

class TempDir : public ::testing::Test {
  protected:
    void SetUp() override {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        m_dir = fs::temp_directory_path() / ("tintaro-" + std::string(info->name()) + "-" + ownPid());
        fs::remove_all(m_dir);
        fs::create_directories(m_dir);
    }
    void TearDown() override { fs::remove_all(m_dir); }

    // The form the program builds: a directory, then a backslash path.
    std::string appPath(const std::string& relative) const { return joinPath(m_dir.string(), relative); }

    fs::path m_dir;
    PosixFiles m_files;
};

// Bytes this process has read through read() and its kin so far, as the
// kernel counts them: a file read whole shows here, a stat does not.
std::uint64_t bytesReadSoFar() {
    std::ifstream io("/proc/self/io");
    std::string key;
    std::uint64_t value = 0;
    while (io >> key >> value) {
        if (key == "rchar:")
            return value;
    }
    return 0;
}

} // namespace

TEST(JoinPath, TurnsOnlyTheRelativePartsBackslashesIntoSlashes) {
    const struct {
        const char* directory;
        const char* relative;
        const char* out;
    } cases[] = {
        {"/opt/app", "\\PICTURE\\01.GIF", "/opt/app/PICTURE/01.GIF"},
        {"/opt/app/", "\\MUSIC\\001.MID", "/opt/app/MUSIC/001.MID"},
        {"/", "\\COLORS.EXE", "/COLORS.EXE"},
        {"/home/ana/a\\b", "\\PICTURE\\GLAVNA.JPG", "/home/ana/a\\b/PICTURE/GLAVNA.JPG"},
        {"/home/ana/a\\b/", "\\MY_PICTURE", "/home/ana/a\\b/MY_PICTURE"},
        {"/home/ana/ends\\", "\\SOUND\\ZUTA.WAV", "/home/ana/ends\\/SOUND/ZUTA.WAV"},
        {"//opt//app", "\\\\SOUND\\x.wav", "//opt//app/SOUND/x.wav"},
        {"relative", "\\MY_PICTURE\\01.GIF", "relative/MY_PICTURE/01.GIF"},
        {"/plain/path", "", "/plain/path"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(joinPath(c.directory, c.relative), c.out) << c.directory << " + " << c.relative;
    }
}

TEST_F(TempDir, ReadsThroughABackslashPath) {
    fs::create_directories(m_dir / "PICTURE");
    put(m_dir / "PICTURE" / "01.GIF", std::string("GIF89a\0\x01\xff", 9));
    const auto bytes = m_files.read(appPath("\\PICTURE\\01.GIF"));
    ASSERT_TRUE(bytes.has_value());
    EXPECT_EQ(std::string(bytes->begin(), bytes->end()), std::string("GIF89a\0\x01\xff", 9));
    EXPECT_FALSE(m_files.read(appPath("\\PICTURE\\02.GIF")).has_value());
    EXPECT_FALSE(m_files.read(appPath("\\PICTURE")).has_value()) << "a directory is not a file";
}

TEST_F(TempDir, WorksInsideAFolderWhoseNameHasABackslash) {
    const fs::path app = m_dir / "a\\b";
    fs::create_directories(app / "PICTURE");
    fs::create_directories(app / "MY_PICTURE");
    put(app / "PICTURE" / "01.GIF", "GIF89a");
    const std::string dir = app.string();
    const auto bytes = m_files.read(joinPath(dir, "\\PICTURE\\01.GIF"));
    ASSERT_TRUE(bytes.has_value());
    EXPECT_EQ(std::string(bytes->begin(), bytes->end()), "GIF89a");
    EXPECT_EQ(m_files.length(joinPath(dir, "\\PICTURE\\01.GIF")), std::optional<std::uint64_t>(6));
    EXPECT_TRUE(m_files.isWritableDirectory(joinPath(dir, "\\MY_PICTURE")));
    const std::vector<std::uint8_t> data{1, 2, 3};
    ASSERT_TRUE(m_files.writeAtomically(joinPath(dir, "\\MY_PICTURE\\01.GIF"), data));
    EXPECT_EQ(slurp(app / "MY_PICTURE" / "01.GIF"), std::string("\x01\x02\x03"));
    EXPECT_FALSE(fs::exists(m_dir / "a" / "b")) << "nothing went to a folder a/b";
}

TEST_F(TempDir, LengthComesFromTheFileSystemWithoutReading) {
    // A sparse file of a terabyte: its length is known at once, while reading
    // it would take minutes and more memory than the machine has.
    const fs::path big = m_dir / "BIG.JPG";
    put(big, "");
    fs::resize_file(big, 1ULL << 40);
    const std::uint64_t readBefore = bytesReadSoFar();
    EXPECT_EQ(m_files.length(appPath("\\BIG.JPG")), std::optional<std::uint64_t>(1ULL << 40));
    EXPECT_LT(bytesReadSoFar() - readBefore, 1u << 20) << "the length came from reading the file";

    put(m_dir / "EMPTY.GIF", "");
    EXPECT_EQ(m_files.length(appPath("\\EMPTY.GIF")), std::optional<std::uint64_t>(0));
    EXPECT_FALSE(m_files.length(appPath("\\MISSING.GIF")).has_value());
}

TEST_F(TempDir, AtomicWriteReplacesTheTargetAndLeavesNoTemporaryFile) {
    fs::create_directories(m_dir / "MY_PICTURE");
    put(m_dir / "MY_PICTURE" / "01.GIF", "old contents that are longer than the new");
    const std::string text = "new";
    const Bytes data(text.begin(), text.end());
    ASSERT_TRUE(m_files.writeAtomically(appPath("\\MY_PICTURE\\01.GIF"), data));
    EXPECT_EQ(slurp(m_dir / "MY_PICTURE" / "01.GIF"), "new");

    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(m_dir / "MY_PICTURE")) {
        names.push_back(entry.path().filename().string());
    }
    EXPECT_EQ(names, std::vector<std::string>{"01.GIF"});
}

// A writer killed during its write leaves its temporary; the next write of
// the same file removes it, but not the temporary of a writer still at work
// (which holds a lock on it) nor anything else.
TEST_F(TempDir, AtomicWriteRemovesTheTemporaryOfAKilledWriter) {
    const fs::path folder = m_dir / "MY_PICTURE";
    fs::create_directories(folder);
    const std::vector<std::string> kept = {".01.GIF.Work42", ".02.GIF.aB3xYz", ".01.GIF.toolong",
                                           "01.GIF.aB3xYz", "notes.txt"};
    for (const std::string& name : kept) {
        put(folder / name, "x");
    }
    put(folder / ".01.GIF.aB3xYz", "half a picture");
    const int working = ::open((folder / ".01.GIF.Work42").c_str(), O_RDONLY | O_CLOEXEC);
    ASSERT_GE(working, 0);
    ASSERT_EQ(::flock(working, LOCK_EX), 0);

    const Bytes data{'n', 'e', 'w'};
    ASSERT_TRUE(m_files.writeAtomically(appPath("\\MY_PICTURE\\01.GIF"), data));
    ::close(working);

    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) {
        names.push_back(entry.path().filename().string());
    }
    std::vector<std::string> expected = kept;
    expected.push_back("01.GIF");
    std::sort(names.begin(), names.end());
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(names, expected);
}

TEST_F(TempDir, AtomicWriteIntoAMissingFolderFailsAndCreatesNothing) {
    const Bytes data{1, 2, 3};
    EXPECT_FALSE(m_files.writeAtomically(appPath("\\NOWHERE\\01.GIF"), data));
    EXPECT_TRUE(fs::is_empty(m_dir));
}

TEST_F(TempDir, MakesNestedDirectoriesAndTellsWritableOnes) {
    EXPECT_FALSE(m_files.isWritableDirectory(appPath("\\a\\b\\c")));
    ASSERT_TRUE(m_files.makeDirectories(appPath("\\a\\b\\c")));
    EXPECT_TRUE(fs::is_directory(m_dir / "a" / "b" / "c"));
    EXPECT_TRUE(m_files.isWritableDirectory(appPath("\\a\\b\\c")));
    EXPECT_TRUE(m_files.makeDirectories(appPath("\\a\\b\\c\\"))) << "an existing folder is fine";

    put(m_dir / "file", "x");
    EXPECT_FALSE(m_files.isWritableDirectory(appPath("\\file")));
    EXPECT_FALSE(m_files.makeDirectories(appPath("\\file\\sub")));
}

TEST_F(TempDir, ChangesTheCurrentDirectory) {
    const fs::path before = fs::current_path();
    fs::create_directories(m_dir / "APP");
    ASSERT_TRUE(m_files.setCurrentDirectory(appPath("\\APP")));
    EXPECT_EQ(fs::current_path(), fs::canonical(m_dir / "APP"));
    fs::current_path(before);
    EXPECT_FALSE(m_files.setCurrentDirectory(appPath("\\MISSING")));
}

TEST(PosixFiles, ExecutableDirectoryHoldsThisTest) {
    PosixFiles files;
    const std::string dir = files.executableDirectory();
    ASSERT_FALSE(dir.empty());
    EXPECT_NE(dir.back(), '/');
    EXPECT_TRUE(fs::exists(fs::path(dir) / "SdlPlatformTest"));
}

TEST(PosixFiles, CacheDirectoryFollowsXdgThenHome) {
    const char* savedXdg = std::getenv("XDG_CACHE_HOME");
    const char* savedHome = std::getenv("HOME");
    const std::string keepXdg = savedXdg ? savedXdg : "";
    const std::string keepHome = savedHome ? savedHome : "";
    const struct {
        const char* xdg; // nullptr: unset
        const char* home;
        const char* expected;
    } cases[] = {
        {"/var/cache/kid", "/home/kid", "/var/cache/kid/tintaro"},
        {nullptr, "/home/kid", "/home/kid/.cache/tintaro"},
        {"", "/home/kid", "/home/kid/.cache/tintaro"},
        {"relative/cache", "/home/kid/", "/home/kid/.cache/tintaro"},
    };
    PosixFiles files;
    for (const auto& c : cases) {
        if (c.xdg) {
            ::setenv("XDG_CACHE_HOME", c.xdg, 1);
        } else {
            ::unsetenv("XDG_CACHE_HOME");
        }
        ::setenv("HOME", c.home, 1);
        EXPECT_EQ(files.userCacheDirectory(), c.expected) << (c.xdg ? c.xdg : "(unset)");
    }
    // No HOME at all: the home the system knows for this user, never a
    // fixed name in a shared folder such as /tmp/tintaro.
    ::unsetenv("XDG_CACHE_HOME");
    ::unsetenv("HOME");
    if (const passwd* me = ::getpwuid(::getuid())) {
        EXPECT_EQ(files.userCacheDirectory(), std::string(me->pw_dir) + "/.cache/tintaro");
    } else {
        ADD_FAILURE() << "this user has no entry in the password database";
    }
    savedXdg ? ::setenv("XDG_CACHE_HOME", keepXdg.c_str(), 1) : ::unsetenv("XDG_CACHE_HOME");
    savedHome ? ::setenv("HOME", keepHome.c_str(), 1) : ::unsetenv("HOME");
}

namespace {

// A picture of exactly `colours` distinct colour values in a pattern that
// does not repeat along rows, so a palette mix-up shows.
Image patterned(int w, int h, int colours) {
    Image image(w, h);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const unsigned n = static_cast<unsigned>((x * 7 + y * 13 + x * y) % colours);
            image.at(x, y) = rgb((n * 37) & 0xFF, (n * 101 + 5) & 0xFF, n >> 8 << 7 | (n & 0x7F));
        }
    }
    return image;
}

} // namespace

TEST(SdlCodec, FewColoursRoundTripExactlyThroughGif) {
    SdlCodec codec;
    for (int colours : {1, 2, 12, 255, 256}) {
        const Image original = patterned(750, 600, colours);
        const auto bytes = codec.encodeLossless(original);
        ASSERT_TRUE(bytes.has_value()) << colours;
        EXPECT_TRUE(startsWith(*bytes, "GIF8")) << colours << " colours fit a GIF palette";
        const auto decoded = codec.decode(*bytes);
        ASSERT_TRUE(decoded.has_value()) << colours;
        EXPECT_TRUE(*decoded == original) << colours << " colours did not come back exactly";
    }
}

TEST(SdlCodec, ManyColoursFallBackToPngAndRoundTripExactly) {
    SdlCodec codec;
    const Image original = patterned(301, 97, 257);
    const auto bytes = codec.encodeLossless(original);
    ASSERT_TRUE(bytes.has_value());
    EXPECT_TRUE(startsWith(*bytes, "\x89PNG"));
    const auto decoded = codec.decode(*bytes);
    ASSERT_TRUE(decoded.has_value());
    EXPECT_TRUE(*decoded == original);

    Image gradient(256, 256);
    for (int y = 0; y < 256; ++y) {
        for (int x = 0; x < 256; ++x) {
            gradient.at(x, y) = rgb(x, y, (x + y) & 0xFF);
        }
    }
    const auto png = codec.encodeLossless(gradient);
    ASSERT_TRUE(png.has_value());
    EXPECT_TRUE(startsWith(*png, "\x89PNG"));
    EXPECT_EQ(codec.decode(*png), std::optional<Image>(gradient));
}

TEST(SdlCodec, DecodesAJpegIntoColourValues) {
    SdlCodec codec;
    const auto image = codec.decode(kRedBlueJpeg);
    ASSERT_TRUE(image.has_value());
    ASSERT_EQ(image->width, 16);
    ASSERT_EQ(image->height, 8);
    auto near = [](Colour c, unsigned r, unsigned g, unsigned b) {
        auto close = [](unsigned a, unsigned e) { return a + 6 >= e && a <= e + 6; };
        return (c >> 24) == 0 && close(c & 0xFF, r) && close((c >> 8) & 0xFF, g) &&
               close((c >> 16) & 0xFF, b);
    };
    // Away from the seam, where JPEG blurs the edge.
    for (int y = 0; y < 8; ++y) {
        EXPECT_TRUE(near(image->at(1, y), 255, 0, 0)) << std::hex << image->at(1, y);
        EXPECT_TRUE(near(image->at(14, y), 0, 0, 255)) << std::hex << image->at(14, y);
    }
}

TEST(SdlCodec, DecodesAnIconWithTransparencyOnWhite) {
    // ARGB, top row first: opaque red, opaque green, transparent, half-transparent black.
    const std::vector<std::uint32_t> argb{
        0xFFFF0000, 0xFF00FF00, 0x00123456, 0x80000000, //
        0xFF0000FF, 0xFF0000FF, 0xFF0000FF, 0xFF0000FF, //
        0xFF000000, 0xFFFFFFFF, 0xFF808080, 0xFF0A0B0C, //
        0x00000000, 0x00000000, 0x00000000, 0xFFFEDCBA, //
    };
    SdlCodec codec;
    const auto image = codec.decode(makeIco(4, 4, argb));
    ASSERT_TRUE(image.has_value());
    ASSERT_EQ(image->width, 4);
    ASSERT_EQ(image->height, 4);
    EXPECT_EQ(image->at(0, 0), rgb(255, 0, 0));
    EXPECT_EQ(image->at(1, 0), rgb(0, 255, 0));
    EXPECT_EQ(image->at(2, 0), kWhite) << "a transparent pixel shows the page";
    const Colour half = image->at(3, 0);
    EXPECT_EQ(half & 0xFF, (half >> 8) & 0xFF);
    EXPECT_GE(half & 0xFF, 0x70u);
    EXPECT_LE(half & 0xFF, 0x80u);
    EXPECT_EQ(image->at(0, 1), rgb(0, 0, 255));
    EXPECT_EQ(image->at(0, 2), kBlack);
    EXPECT_EQ(image->at(3, 2), rgb(0x0A, 0x0B, 0x0C));
    EXPECT_EQ(image->at(0, 3), kWhite);
    EXPECT_EQ(image->at(3, 3), rgb(0xFE, 0xDC, 0xBA));
}

TEST(SdlCodec, RejectsWhatIsNoPicture) {
    SdlCodec codec;
    const std::string text = "this is not a picture at all";
    EXPECT_FALSE(codec.decode(Bytes(text.begin(), text.end())).has_value());
    EXPECT_FALSE(codec.decode(Bytes{}).has_value());
    const Bytes truncated(std::begin(kRedBlueJpeg), std::begin(kRedBlueJpeg) + 40);
    EXPECT_FALSE(codec.decode(truncated).has_value());
    EXPECT_FALSE(codec.encodeLossless(Image()).has_value());
}

TEST(KeyMap, GivesWindowsVirtualKeyCodes) {
    const struct {
        const char* key;
        int vk;
    } cases[] = {
        {"A", 65},           {"X", 88},           {"Z", 90},
        {"0", 48},           {"9", 57},           {"Escape", 27},
        {"Tab", 9},          {"Return", 13},      {"Keypad Enter", 13},
        {"Space", 32},       {"Backspace", 8},    {"Left Shift", 16},
        {"Right Shift", 16}, {"Left Ctrl", 17},   {"Right Ctrl", 17},
        {"Left Alt", 18},    {"Right Alt", 18},   {"Left GUI", 91},
        {"Right GUI", 92},   {"Application", 93}, {"Menu", 93},
        {"F1", 112},         {"F4", 115},         {"F12", 123},
        {"F13", 124},        {"F24", 135},        {"Left", 37},
        {"Up", 38},          {"Right", 39},       {"Down", 40},
        {"PageUp", 33},      {"PageDown", 34},    {"End", 35},
        {"Home", 36},        {"Insert", 45},      {"Delete", 46},
        {"CapsLock", 20},    {"PrintScreen", 44}, {"Pause", 19},
        {"Keypad 0", 96},    {"Keypad 9", 105},   {"Keypad *", 106},
        {"Keypad +", 107},   {"Keypad -", 109},   {"Keypad /", 111},
        {"Numlock", 144},    {"ScrollLock", 145}, {";", 186},
        {"=", 187},          {",", 188},          {"-", 189},
        {".", 190},          {"/", 191},          {"`", 192},
        {"[", 219},          {"\\", 220},         {"]", 221},
        {"'", 222},
    };
    for (const auto& c : cases) {
        const int scancode = scancodeNamed(c.key);
        ASSERT_NE(scancode, 0) << c.key;
        // A key that types no Latin letter is known by its position.
        EXPECT_EQ(virtualKeyFor(scancode, 0), c.vk) << c.key;
    }
}

TEST(KeyMap, LettersFollowTheLayoutWhenItTypesLatinLetters) {
    // On AZERTY the key in the Q position types 'a'; the shortcut code follows the letter.
    EXPECT_EQ(virtualKeyFor(scancodeNamed("Q"), 'a'), 'A');
    EXPECT_EQ(virtualKeyFor(scancodeNamed("Y"), 'z'), 'Z');
    // A Cyrillic layout types U+0447 on the X key: the position decides.
    EXPECT_EQ(virtualKeyFor(scancodeNamed("X"), 0x447), 'X');
    EXPECT_EQ(virtualKeyFor(scancodeNamed("P"), 0x437), 'P');
    EXPECT_EQ(virtualKeyFor(0, 0), 0) << "an unknown key has no code";
}

TEST(SplitMixRandom, StartsFromTheSameStateEveryRunAndStaysInRange) {
    SplitMixRandom a;
    SplitMixRandom b;
    std::vector<double> first;
    for (int i = 0; i < 1000; ++i) {
        const double x = a.next();
        ASSERT_GE(x, 0.0);
        ASSERT_LT(x, 1.0);
        first.push_back(x);
        EXPECT_EQ(b.next(), x);
    }
    // Not stuck, and spread over the interval.
    double sum = 0;
    for (double x : first) {
        sum += x;
    }
    EXPECT_NEAR(sum / 1000, 0.5, 0.05);

    SplitMixRandom reseeded;
    reseeded.reseedFromClock();
    SplitMixRandom fresh;
    EXPECT_NE(reseeded.next(), fresh.next());
}

TEST(SteadyClock, MonotonicSleepReachesItsTarget) {
    SteadyClock clock;
    const double start = clock.monotonicSeconds();
    clock.sleepUntil(start + 0.05);
    EXPECT_GE(clock.monotonicSeconds(), start + 0.05);
}

namespace {

// Children of this process that have ended but were never waited for.
int zombieChildren() {
    int zombies = 0;
    const std::string self = ownPid();
    for (const auto& entry : fs::directory_iterator("/proc")) {
        std::ifstream stat(entry.path() / "stat");
        std::string line;
        if (!std::getline(stat, line)) {
            continue;
        }
        // pid (comm) state ppid ...; comm may hold spaces, so read after ')'.
        const auto close = line.rfind(')');
        if (close == std::string::npos) {
            continue;
        }
        std::istringstream rest(line.substr(close + 1));
        std::string state;
        std::string ppid;
        rest >> state >> ppid;
        zombies += (ppid == self && state == "Z") ? 1 : 0;
    }
    return zombies;
}

} // namespace

TEST_F(TempDir, StartedProgramsRunWithoutWaitingAndAreReaped) {
    PosixProcesses processes;
    const fs::path script = m_dir / "COLORS.EXE";
    put(script, "#!/bin/sh\necho started > \"$(dirname \"$0\")/ran\"\n");
    fs::permissions(script, fs::perms::owner_all);
    ASSERT_TRUE(processes.start(joinPath(m_dir.string(), "\\COLORS.EXE")));
    for (int i = 0; i < 200 && !hasContent(m_dir / "ran"); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    EXPECT_EQ(slurp(m_dir / "ran"), "started\n");
    // The exit is collected in the background; no zombie stays behind.
    int zombies = 1;
    for (int i = 0; i < 200 && (zombies = zombieChildren()) != 0; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    EXPECT_EQ(zombies, 0);

    EXPECT_FALSE(processes.start(joinPath(m_dir.string(), "\\MISSING.EXE")));
}

// The state letter of a process ('Z' once it has ended and waits to be
// collected), or nothing when there is no such process any more.
std::string processState(const std::string& pid) {
    std::ifstream stat("/proc/" + pid + "/stat");
    std::string line;
    if (!std::getline(stat, line) || line.rfind(')') == std::string::npos) {
        return "";
    }
    std::istringstream rest(line.substr(line.rfind(')') + 1));
    std::string state;
    rest >> state;
    return state;
}

TEST_F(TempDir, AStartedProgramNeverOutlivesTheProgramThatStartedIt) {
    // The started program writes its process id and then waits for 30 s.
    const fs::path script = m_dir / "COLORS.EXE";
    put(script, "#!/bin/sh\necho $$ > \"$(dirname \"$0\")/pid.tmp\"\n"
                "mv \"$(dirname \"$0\")/pid.tmp\" \"$(dirname \"$0\")/pid\"\nexec sleep 30\n");
    fs::permissions(script, fs::perms::owner_all);
    for (const std::string end : {"orderly", "abrupt"}) {
        SCOPED_TRACE(end);
        fs::remove(m_dir / "pid");
        const std::string command = std::string(STARTING_PARENT) + " '" + (m_dir / "COLORS.EXE").string() +
                                    "' '" + (m_dir / "pid").string() + "' " + end;
        ASSERT_EQ(std::system(command.c_str()), 0);
        std::string pid = slurp(m_dir / "pid");
        ASSERT_FALSE(pid.empty());
        pid.erase(pid.find_last_not_of('\n') + 1);
        // Ended in order, the program collected it before it went; ended at
        // once, the kernel killed it, and only its entry may wait for init.
        std::string state = processState(pid);
        for (int i = 0; i < 200 && end == "abrupt" && !state.empty() && state != "Z"; ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
            state = processState(pid);
        }
        if (end == "orderly") {
            EXPECT_EQ(state, "");
        } else {
            EXPECT_TRUE(state.empty() || state == "Z") << "state " << state;
        }
    }
}

TEST_F(TempDir, OpensAUrlThroughXdgOpenOnThePath) {
    // A stand-in xdg-open that records what it was asked to open.
    put(m_dir / "xdg-open", "#!/bin/sh\nprintf '%s|%s' \"$#\" \"$1\" > \"$(dirname \"$0\")/opened\"\n");
    fs::permissions(m_dir / "xdg-open", fs::perms::owner_all);
    const char* saved = std::getenv("PATH");
    const std::string keep = saved ? saved : "";
    ::setenv("PATH", (m_dir.string() + ":" + keep).c_str(), 1);
    PosixProcesses processes;
    const std::string url = "https://example.org/a page?x=1&y=2";
    const bool started = processes.openUrl(url);
    ::setenv("PATH", keep.c_str(), 1);
    ASSERT_TRUE(started);
    for (int i = 0; i < 200 && !hasContent(m_dir / "opened"); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    // One argument, passed as it stands: no shell splits or expands it.
    EXPECT_EQ(slurp(m_dir / "opened"), "1|" + url);
}

TEST_F(TempDir, OneLockHolderAtATimeUntilItLetsGo) {
    const std::string scope = (m_dir / "runtime").string();
    auto first = std::make_unique<PosixInstanceLock>(scope);
    ASSERT_TRUE(first->acquire());
    EXPECT_TRUE(first->acquire()) << "asking again keeps the lock";
    EXPECT_FALSE(fs::exists(m_dir / "runtime")) << "nothing is written anywhere";
    PosixInstanceLock second(scope);
    EXPECT_FALSE(second.acquire());
    PosixInstanceLock elsewhere((m_dir / "other").string());
    EXPECT_TRUE(elsewhere.acquire()) << "another session holds another lock";
    first.reset();
    EXPECT_TRUE(second.acquire()) << "a lock let go is free at once";
}

// A second start reaches the copy that holds the lock, hands over its
// activation token (or none), and learns that it was heard; once the holder
// has gone nobody answers, and a new holder answers again.
TEST_F(TempDir, ASecondStartAsksTheHolderForward) {
    const std::string scope = (m_dir / "runtime").string();
    PosixInstanceLock second(scope);
    EXPECT_FALSE(second.askHolderForward("")) << "nobody holds the lock yet";
    auto holder = std::make_unique<PosixInstanceLock>(scope);
    ASSERT_TRUE(holder->acquire());
    ASSERT_FALSE(second.acquire());
    EXPECT_EQ(runningcopy::takeRequest(), std::nullopt);
    for (const std::string token : {"launcher-token_1234", ""}) {
        ASSERT_TRUE(second.askHolderForward(token));
        EXPECT_EQ(runningcopy::takeRequest(), std::optional<std::string>(token));
        EXPECT_EQ(runningcopy::takeRequest(), std::nullopt) << "each request is taken once";
    }
    EXPECT_FALSE(second.askHolderForward("two\nlines")) << "a token is one line";
    holder.reset();
    EXPECT_FALSE(second.askHolderForward(""));
    ASSERT_TRUE(second.acquire());
    PosixInstanceLock third(scope);
    EXPECT_TRUE(third.askHolderForward("x"));
    EXPECT_EQ(runningcopy::takeRequest(), std::optional<std::string>("x"));
}

TEST_F(TempDir, ProgramsStartedByTheHolderDoNotKeepTheLock) {
    const std::string scope = m_dir.string();
    auto holder = std::make_unique<PosixInstanceLock>(scope);
    ASSERT_TRUE(holder->acquire());
    // A companion that outlives the program.
    // Its output goes nowhere, so that no test runner waits for it.
    put(m_dir / "COLORS.EXE",
        "#!/bin/sh\nexec >/dev/null 2>&1\necho started > \"$(dirname \"$0\")/ran\"\nsleep 60\n");
    fs::permissions(m_dir / "COLORS.EXE", fs::perms::owner_all);
    PosixProcesses processes;
    ASSERT_TRUE(processes.start(m_dir.string() + "/COLORS.EXE"));
    for (int i = 0; i < 3000 && !hasContent(m_dir / "ran"); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    ASSERT_TRUE(hasContent(m_dir / "ran"));
    holder.reset();
    PosixInstanceLock next(scope);
    EXPECT_TRUE(next.acquire()) << "the companion still running inherited the lock";
}

// Another user who takes the name first (it is open to every local user)
// neither keeps the book from starting nor receives its requests. Needs
// root, to be that other user in a child process.
TEST_F(TempDir, AnotherUsersHolderIsNoCopyOfOurs) {
    if (::getuid() != 0) {
        GTEST_SKIP() << "needs root to act as another user";
    }
    const std::string scope = (m_dir / "planted").string();
    const std::string name = PosixInstanceLock::nameFor(scope);
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    const pid_t planter = ::fork();
    if (planter == 0) {
        ::close(ready[0]);
        if (::setresgid(65534, 65534, 65534) != 0 || ::setresuid(65534, 65534, 65534) != 0) {
            ::_exit(1);
        }
        // The same name root's copy would use, bound by nobody.
        int fd = -1;
        const bool bound = runningcopy::claim(name, fd) == runningcopy::Claim::Ours;
        [[maybe_unused]] const ssize_t said = ::write(ready[1], bound ? "y" : "n", 1);
        ::pause();
        ::_exit(0);
    }
    ::close(ready[1]);
    char answer = 0;
    ASSERT_EQ(::read(ready[0], &answer, 1), 1);
    ::close(ready[0]);
    EXPECT_EQ(answer, 'y');
    PosixInstanceLock ours(scope);
    EXPECT_FALSE(ours.askHolderForward("secret")) << "a request went to another user";
    EXPECT_TRUE(ours.acquire()) << "the planted name kept the book from starting";
    ::kill(planter, SIGKILL);
    ::waitpid(planter, nullptr, 0);
}

TEST(PosixInstanceLock, IsScopedByTheRuntimeFolderAndTheDisplays) {
    const char* names[] = {"XDG_RUNTIME_DIR", "XDG_CACHE_HOME", "WAYLAND_DISPLAY", "DISPLAY"};
    std::vector<std::optional<std::string>> saved;
    for (const char* name : names) {
        const char* value = std::getenv(name);
        saved.push_back(value ? std::optional<std::string>(value) : std::nullopt);
    }
    ::setenv("XDG_CACHE_HOME", "/var/cache/kid", 1);
    ::setenv("WAYLAND_DISPLAY", "wayland-0", 1);
    ::setenv("DISPLAY", ":0", 1);
    const struct {
        const char* runtime; // nullptr: unset
        const char* expected;
    } cases[] = {
        {"/run/user/1000", "/run/user/1000|wayland-0|:0"},
        {nullptr, "/var/cache/kid/tintaro|wayland-0|:0"},
        {"", "/var/cache/kid/tintaro|wayland-0|:0"},
        {"run/user/1000", "/var/cache/kid/tintaro|wayland-0|:0"},
    };
    for (const auto& c : cases) {
        c.runtime ? ::setenv("XDG_RUNTIME_DIR", c.runtime, 1) : ::unsetenv("XDG_RUNTIME_DIR");
        EXPECT_EQ(PosixInstanceLock::defaultScope(), c.expected) << (c.runtime ? c.runtime : "(unset)");
    }
    EXPECT_NE(PosixInstanceLock::nameFor("a|wayland-0|:0"), PosixInstanceLock::nameFor("a|wayland-1|:0"));
    EXPECT_EQ(PosixInstanceLock::nameFor("a"), PosixInstanceLock::nameFor("a"));
    for (std::size_t i = 0; i < saved.size(); ++i) {
        saved[i] ? ::setenv(names[i], saved[i]->c_str(), 1) : ::unsetenv(names[i]);
    }
}
