// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The narrow interfaces through which the rest of the program reaches the
// operating system. Only src/platform implements them with SDL, CUPS and
// POSIX; tests replace them with a recording fake.

#include "platform/Image.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace tintaro {

using Bytes = std::vector<std::uint8_t>;

// Paths are local paths, used as they are; the program builds them with
// joinPath (platform/AppPath.h).
class Files {
  public:
    virtual ~Files() = default;
    virtual std::optional<Bytes> read(const std::string& path) = 0;
    // The size the file system reports, without reading the contents.
    virtual std::optional<std::uint64_t> length(const std::string& path) = 0;
    // Writes to a temporary file beside the target and renames it into place.
    virtual bool writeAtomically(const std::string& path, std::span<const std::uint8_t> data) = 0;
    virtual bool isWritableDirectory(const std::string& path) = 0;
    virtual bool makeDirectories(const std::string& path) = 0;
    virtual bool setCurrentDirectory(const std::string& path) = 0;
    // The folder that holds the running executable, without a trailing separator.
    virtual std::string executableDirectory() = 0;
    // $XDG_CACHE_HOME/tintaro or ~/.cache/tintaro.
    virtual std::string userCacheDirectory() = 0;
};

class Codec {
  public:
    virtual ~Codec() = default;
    // JPEG, GIF, PNG or ICO bytes to an opaque picture; nullopt when unreadable,
    // damaged or larger than any picture of the book could be.
    virtual std::optional<Image> decode(std::span<const std::uint8_t> bytes) = 0;
    // A lossless file: GIF with an exact palette for up to 256 colours, PNG otherwise.
    virtual std::optional<Bytes> encodeLossless(const Image& image) = 0;
};

enum class EventType {
    MouseMove,
    MouseDown,
    MouseUp,
    KeyDown,
    KeyUp,
    Quit, // window manager close request, SIGTERM, SIGINT
    Minimised,
    Restored,
    FocusLost,
    FocusGained,
    Exposed,      // the window needs the whole frame again
    GuardChanged, // the keyboard guard's hold changed (Event::guard)
};

// Whether the desktop honours the keyboard guard's hold: held, asked for
// and not answered yet (a desktop may ask its user first), or not held
// (refused, given up when the window lost the focus, or not wanted).
enum class GuardState { NotHeld, Asked, Held };

// Mouse buttons and shift keys use the masks the handlers test.
enum MouseButton : int { kLeftButton = 1, kRightButton = 2, kMiddleButton = 4 };
enum ShiftMask : int { kShift = 1, kCtrl = 2, kAlt = 4 };

struct Event {
    EventType type = EventType::MouseMove;
    float x = 0;     // logical window pixels, 0..1023
    float y = 0;     // logical window pixels, 0..767
    int button = 0;  // MouseDown/MouseUp: the one button
    int buttons = 0; // MouseMove: the buttons held
    int shift = 0;   // ShiftMask
    int key = 0; // KeyDown/KeyUp: virtual-key code (letters 65..90, Shift 16, Alt 18, Super 91/92, Menu 93)
    bool altHeld = false;                   // KeyDown/KeyUp: an Alt key is held
    GuardState guard = GuardState::NotHeld; // GuardChanged: the hold now
};

enum class CursorKind { Arrow, Hand, Palette, Drop, SystemDefault, Custom };

// A cursor loaded from an icon file; its hot spot is the icon's centre.
class Cursor {
  public:
    virtual ~Cursor() = default;
};

class Window {
  public:
    virtual ~Window() = default;
    // Creates the window hidden, 1024 x 768 logical pixels.
    virtual bool create(const std::string& title) = 0;
    virtual void show() = 0;
    virtual void hide() = 0;
    virtual void minimise() = 0;
    virtual bool enterFullScreen() = 0;
    virtual void leaveFullScreen() = 0;
    // Shows the 1024 x 768 frame; only the dirty rectangles changed since the last call.
    virtual void present(const Image& frame, std::span<const Rect> dirty) = 0;
    // Waits up to timeoutMs (negative: forever) for the next event.
    virtual std::optional<Event> waitEvent(int timeoutMs) = 0;
    virtual std::unique_ptr<Cursor> loadCursor(const std::string& iconPath) = 0;
    virtual void setCursor(CursorKind kind, const Cursor* custom) = 0;
    virtual void destroy() = 0;
    // A plain message window of its own, with one button to close it;
    // returns once it was closed (or could not be shown). The keyboard is
    // let go first and not held again: a message is the last thing shown.
    virtual void showMessage(const std::string& title, const std::string& text) = 0;
};

class SoundEffects {
  public:
    virtual ~SoundEffects() = default;
    // Plays a WAV asynchronously on one channel, cutting off the effect playing.
    virtual void play(const std::string& path) = 0;
};

// One MIDI performance at a time; createPerformance replaces the previous one.
class MusicPlayer {
  public:
    virtual ~MusicPlayer() = default;
    virtual bool createPerformance() = 0;
    virtual bool setMasterVolume(int hundredthsOfDecibel) = 0;
    virtual bool load(const std::string& path) = 0;
    virtual bool play() = 0;
    virtual bool isPlaying() = 0;
    virtual bool stop() = 0;
    virtual void closeDown() = 0;
};

class Processes {
  public:
    virtual ~Processes() = default;
    // Starts a program without waiting; its exit is reaped in the background.
    virtual bool start(const std::string& path) = 0;
    virtual bool openUrl(const std::string& url) = 0;
};

class Clock {
  public:
    virtual ~Clock() = default;
    virtual double monotonicSeconds() = 0;
    // Sleeps until the monotonic clock reads at least `monotonic` (paces animations).
    virtual void sleepUntil(double monotonic) = 0;
};

class Random {
  public:
    virtual ~Random() = default;
    // 0 <= r < 1; the start state is fixed.
    virtual double next() = 0;
    virtual void reseedFromClock() = 0;
};

class Printer {
  public:
    virtual ~Printer() = default;
    // One page on the default destination; false when nothing could be printed.
    virtual bool print(const Image& picture) = 0;
};

class KeyboardGuard {
  public:
    virtual ~KeyboardGuard() = default;
    // Holds the keyboard for the window; returns a non-zero handle on success.
    virtual int install() = 0;
    virtual bool remove(int handle) = 0;
};

// One copy of the program per user at a time: a second start, such as a
// child's double click on the icon while the colouring book is open, leaves
// the first alone.
class InstanceLock {
  public:
    virtual ~InstanceLock() = default;
    // False only when another running copy holds the lock. Held until the
    // process ends, however it ends. When no lock can be made at all (no
    // writable place for it), the program runs rather than refusing to.
    virtual bool acquire() = 0;
};

struct Platform {
    Files& files;
    Codec& codec;
    Window& window;
    SoundEffects& sound;
    MusicPlayer& music;
    Processes& processes;
    Clock& clock;
    Random& random;
    Printer& printer;
    KeyboardGuard& guard;
    InstanceLock& instance;
};

} // namespace tintaro
