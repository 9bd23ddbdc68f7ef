// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// A recording fake of the platform: real files (the shipped asset tree, with
// files that a test removes or writes laid over it) and the real picture
// codec, but a scripted window, clock, sound, music, printer and processes
// that remember every request.

#include "platform/Platform.h"
#include "platform/posix/PosixFiles.h"
#include "platform/sdl/SdlCodec.h"

#include <deque>
#include <exception>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace tintaro::test {

// Thrown when the program would wait forever: the test has run out of events.
struct OutOfEvents {};

class FakeFiles final : public Files {
  public:
    explicit FakeFiles(std::string appDir) : m_appDir(std::move(appDir)) {}
    std::optional<Bytes> read(const std::string& path) override;
    std::optional<std::uint64_t> length(const std::string& path) override;
    bool writeAtomically(const std::string& path, std::span<const std::uint8_t> data) override;
    bool isWritableDirectory(const std::string& path) override { return writable.count(path) > 0; }
    bool makeDirectories(const std::string& path) override {
        if (canMakeDirectories) {
            writable.insert(path);
        }
        return canMakeDirectories;
    }
    bool setCurrentDirectory(const std::string& path) override {
        currentDirectory = path;
        return true;
    }
    std::string executableDirectory() override { return m_appDir; }
    std::string userCacheDirectory() override { return "/home/child/.cache/tintaro"; }

    void remove(const std::string& path) { removed.insert(path); }
    void replace(const std::string& path, Bytes bytes) { written[path] = std::move(bytes); }
    // Reading the file throws `failure`, as an allocation that cannot be met would.
    void failWith(const std::string& path, std::exception_ptr failure) { failures[path] = failure; }

    std::set<std::string> removed;
    std::map<std::string, Bytes> written;
    std::map<std::string, std::exception_ptr> failures;
    std::set<std::string> writable;
    bool canMakeDirectories = true;
    std::vector<std::string> lengthQueries;
    std::string currentDirectory;

  private:
    std::string m_appDir;
    PosixFiles m_real;
};

class FakeCursor final : public Cursor {
  public:
    explicit FakeCursor(std::string p) : path(std::move(p)) {}
    std::string path;
};

class FakeWindow final : public Window {
  public:
    bool create(const std::string& t) override {
        title = t;
        log.push_back("create");
        return true;
    }
    void show() override {
        visible = true;
        log.push_back("show");
    }
    void hide() override {
        visible = false;
        log.push_back("hide");
    }
    void minimise() override { log.push_back("minimise"); }
    bool enterFullScreen() override {
        log.push_back("fullscreen");
        fullScreen = fullScreenWorks;
        return fullScreenWorks;
    }
    void leaveFullScreen() override {
        log.push_back("leave fullscreen");
        fullScreen = false;
    }
    void present(const Image& frame, std::span<const Rect> dirty) override;
    std::optional<Event> waitEvent(int timeoutMs) override;
    std::unique_ptr<Cursor> loadCursor(const std::string& iconPath) override;
    void setCursor(CursorKind kind, const Cursor* custom) override {
        cursor = kind;
        cursorPath = custom ? static_cast<const FakeCursor*>(custom)->path : "";
    }
    void destroy() override { log.push_back("destroy"); }
    void showMessage(const std::string& t, const std::string& text) override;

    class FakeClock* clock = nullptr;
    std::deque<Event> events;
    std::deque<std::pair<double, Event>> scheduled; // events that arrive at a clock time
    std::vector<std::string> log;
    std::vector<std::pair<std::string, std::string>> messages; // title, text
    std::vector<bool> keyboardHeldAtMessage;                   // the guard's state as each one showed
    std::string title;
    bool visible = false;
    bool fullScreen = false;
    bool fullScreenWorks = true;
    Image shown{1024, 768, 0}; // what the screen shows after the presents so far
    int presents = 0;
    std::function<void()> onPresent; // runs after each present, e.g. to look at a wipe mid-way
    std::vector<Rect> lastDirty;
    CursorKind cursor = CursorKind::Arrow;
    std::string cursorPath;
    class FakeFiles* files = nullptr;
    class FakeGuard* guard = nullptr;
};

class FakeClock final : public Clock {
  public:
    double monotonicSeconds() override { return now; }
    void sleepUntil(double t) override {
        if (t > now) {
            now = t;
        }
    }
    double now = 100.0;
};

class FakeSound final : public SoundEffects {
  public:
    void play(const std::string& path) override { played.push_back(path); }
    std::vector<std::string> played;
};

class FakeMusic final : public MusicPlayer {
  public:
    bool createPerformance() override { return record("create", available); }
    bool setMasterVolume(int v) override {
        volumes.push_back(v);
        return record("volume " + std::to_string(v), available);
    }
    bool load(const std::string& path) override;
    bool play() override {
        playing = true;
        return record("play", true);
    }
    bool isPlaying() override { return playing; }
    bool stop() override {
        playing = false;
        return record("stop", stopWorks);
    }
    void closeDown() override { record("close down", true); }

    bool record(const std::string& what, bool result) {
        log.push_back(what);
        return result;
    }
    bool available = true;
    bool stopWorks = true;
    bool playing = false;
    std::vector<std::string> log;
    std::vector<int> volumes;
    FakeFiles* files = nullptr;
};

class FakeProcesses final : public Processes {
  public:
    bool start(const std::string& path) override {
        started.push_back(path);
        return companionPresent;
    }
    bool openUrl(const std::string& url) override {
        urls.push_back(url);
        return true;
    }
    bool companionPresent = true;
    std::vector<std::string> started;
    std::vector<std::string> urls;
};

// Replays a fixed list of values, then repeats the last one.
class FakeRandom final : public Random {
  public:
    double next() override {
        const double v = values.empty() ? 0.5 : values[std::min(drawn, values.size() - 1)];
        ++drawn;
        return v;
    }
    void reseedFromClock() override { ++reseeds; }
    std::vector<double> values;
    std::size_t drawn = 0;
    int reseeds = 0;
};

class FakePrinter final : public Printer {
  public:
    bool print(const Image& picture) override {
        printed.push_back(picture);
        return works;
    }
    bool works = true;
    std::vector<Image> printed;
};

class FakeGuard final : public KeyboardGuard {
  public:
    int install() override {
        ++installs;
        return installWorks ? 7 : 0;
    }
    bool remove(int handle) override {
        removals.push_back(handle);
        const bool ok = held;
        held = false;
        return ok;
    }
    bool installWorks = true;
    bool held = true;
    int installs = 0;
    std::vector<int> removals;
};

class FakeInstanceLock final : public InstanceLock {
  public:
    bool acquire() override {
        ++attempts;
        return !heldByAnotherCopy;
    }
    bool heldByAnotherCopy = false;
    int attempts = 0;
};

struct FakePlatform {
    explicit FakePlatform(const std::string& appDir);

    FakeFiles files;
    SdlCodec codec;
    FakeWindow window;
    FakeSound sound;
    FakeMusic music;
    FakeProcesses processes;
    FakeClock clock;
    FakeRandom random;
    FakePrinter printer;
    FakeGuard guard;
    FakeInstanceLock instance;
    Platform platform{files, codec, window, sound, music, processes, clock, random, printer, guard, instance};
};

} // namespace tintaro::test
