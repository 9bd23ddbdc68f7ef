// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

struct _XDisplay;

namespace tintaro {

// The keyboard guard on an X server: an active keyboard grab, taken on SDL's
// own X connection so that the held keys still reach SDL's event loop (a
// grab sends every key to the client that holds it, nobody else).
//
// An X server grants a grab only on a viewable window and drops it the
// moment that window is unmapped, so the hold moves between two windows of
// ours: the program's window while it is shown, and otherwise a 1 x 1
// input-only window off the screen (the keeper) that nobody sees and that
// no window manager handles. Moving a grab between two windows of the same
// client is one request, so the keyboard is never free in between.
class KeyboardHold {
  public:
    enum class Place { Nowhere, Keeper, Window };

    KeyboardHold() = default;
    ~KeyboardHold();
    KeyboardHold(const KeyboardHold&) = delete;
    KeyboardHold& operator=(const KeyboardHold&) = delete;

    // Binds the hold to SDL's connection and window and creates the keeper.
    bool attach(_XDisplay* display, unsigned long window);
    // Lets go and destroys the keeper; call before SDL destroys its window.
    void detach();

    // Where the grab belongs from now on; taken at once where the server allows.
    void want(Place place);
    // SDL let go of the keyboard behind the hold's back: take it again.
    void renew();
    // Wanted but not held (another client holds the keyboard, or the window
    // is not viewable yet); try again. Never on a display that is not X11
    // (native Wayland, where the compositor holds the keys for SDL's request):
    // there is nothing to retry, and retrying would wake the loop for ever.
    bool pending() const { return m_display != nullptr && m_held != m_wanted; }
    // The keyboard is held where it is wanted.
    bool held() const { return m_display != nullptr && m_wanted != Place::Nowhere && m_held == m_wanted; }
    void retry();

    // True when a window manager runs on the screen, which is what honours
    // a request to minimise.
    bool windowManaged() const;

  private:
    bool grabOn(Place place, bool patient);

    _XDisplay* m_display = nullptr;
    unsigned long m_window = 0;
    unsigned long m_keeper = 0;
    Place m_wanted = Place::Nowhere;
    Place m_held = Place::Nowhere;
};

// The same hold before SDL has a window, on a connection of its own: a
// program takes a while to start SDL's video and create its window, and the
// keyboard must not be free meanwhile. Keys that arrive here are dropped
// (nothing of the program can take them yet). handOver() lets go just
// before the KeyboardHold takes over, so the keyboard is free for one
// request's time; close() then ends the connection.
class EarlyKeyboardHold {
  public:
    EarlyKeyboardHold() = default;
    ~EarlyKeyboardHold() { close(); }
    EarlyKeyboardHold(const EarlyKeyboardHold&) = delete;
    EarlyKeyboardHold& operator=(const EarlyKeyboardHold&) = delete;

    // Opens the display named by DISPLAY and holds the keyboard on a keeper.
    bool take();
    void handOver();
    void close();

  private:
    _XDisplay* m_display = nullptr;
};

} // namespace tintaro
