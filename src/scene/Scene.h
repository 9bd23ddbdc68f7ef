// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/Platform.h"
#include "scene/ControlTable.h"
#include "scene/PictureStore.h"

#include <array>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace tintaro {

inline constexpr double kRepeatInterval = 0.5;

struct Control {
    Rect rect;
    bool visible = false;
    bool enabled = true;
    std::shared_ptr<const Image> picture; // unused for Slika, whose picture is the canvas
    // A control that starts hidden reads its start picture when first shown:
    // the panels' pictures cost memory and start-up time a session seldom needs.
    bool startPicturePending = false;
};

// The retained scene of the window: the controls with their properties, the
// background picture, the canvas image, and the software-composed frame that
// is presented whenever something changed.
class Scene {
  public:
    // Reads its pictures under `appPath`, the program state's AppPath.
    Scene(Platform& platform, const std::string& appPath);

    // Gives every control its design-time properties and start picture.
    void create();

    const Control& control(ControlId id) const { return m_controls[index(id)]; }
    // The control's picture, its start picture read now if it was put off.
    std::shared_ptr<const Image> pictureOf(ControlId id);
    void setVisible(ControlId id, bool visible);
    void setEnabled(ControlId id, bool enabled);
    void move(ControlId id, int left, int top);

    // The control holding the keyboard focus. Hiding or disabling it takes
    // the focus away for good: keys then go to the window until a click
    // gives the focus to a control again.
    std::optional<ControlId> focus() const { return m_focus; }
    void setFocus(std::optional<ControlId> id) { m_focus = id; }

    // Every path the scene takes is relative to the application directory
    // (AssetPaths.h).
    // Reads appPath + relative path and makes it the control's picture; throws
    // StepFailed (the control keeps its picture) when it cannot be read.
    void assignPicture(ControlId id, const std::string& relativePath);
    void assignBackground(const std::string& relativePath);
    // The canvas takes a picture file placed at (0, 0); all colouring is gone.
    void setCanvasPicture(const std::string& relativePath);
    void setCanvasImage(const Image& image);
    void setCanvasCursor(const std::string& relativePath);

    Image& canvas() { return m_canvas; }
    const Image& canvas() const { return m_canvas; }
    // Canvas pixels inside `changed` (canvas coordinates) need drawing again.
    void canvasChanged(const Rect& changed);

    const Image* background() const { return m_background.get(); }
    CursorKind cursorOf(ControlId id) const;
    const Cursor* canvasCursor() const { return m_canvasCursor.get(); }

    // Topmost visible picture control under the point, in window pixels.
    std::optional<ControlId> hitTest(float x, float y) const;

    // Composes what changed and shows it.
    void present();
    void invalidateAll();
    const Image& frame() const { return m_frame; }
    bool hasChanges() const { return !m_dirty.empty(); }
    PictureStore& pictures() { return m_pictures; }

    // tmrRepeat: ticks every kRepeatInterval seconds while enabled; the loop
    // that delivers events runs it.
    bool timerEnabled = false;
    double timerDue = 0; // monotonic time of the next tick
    void enableTimer(bool enabled);

  private:
    std::shared_ptr<const Image> read(const std::string& relativePath);
    void markDirty(const Rect& rect);
    // Makes a picture the canvas image, placed unscaled at (0, 0).
    void placeOnCanvas(Image&& picture);
    void compose(const Rect& area);

    Platform& m_platform;
    PictureStore m_pictures;
    const std::string& m_appPath;
    std::array<Control, kControlCount> m_controls;
    std::optional<ControlId> m_focus;
    std::shared_ptr<const Image> m_background;
    std::string m_backgroundPath; // relative, to read it again when a new one fails
    Image m_canvas;
    std::unique_ptr<Cursor> m_canvasCursor;
    Image m_frame;
    std::vector<Rect> m_dirty;
};

} // namespace tintaro
