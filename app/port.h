// The narrow interface through which the run controller sees the window:
// text fields and check boxes by name, the two drawing surfaces, the message
// box and the windows that are open. The Qt window implements it; tests and
// the headless runner implement it with plain data.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "app/controls.h"
#include "app/messages.h"

namespace app {

// (red, green, blue), 0..255 each. The colour value 1 is (1, 0, 0), which
// draws the black grid and disk lines.
struct Rgb {
    std::uint8_t r, g, b;
    friend bool operator==(Rgb, Rgb) = default;
};

// What came of loading a picture file.
enum class PictureFile {
    kLoaded,    // it shows
    kMissing,   // nothing by that name
    kUnusable,  // something is there, but not a picture that can be shown
};

// A drawing surface with a user frame and a persistent image. Coordinates
// arrive in single precision; shapes outside the frame are clipped silently;
// a coordinate the surface cannot take raises DrawError.
class Surface {
public:
    virtual ~Surface() = default;
    // The user frame from now on: left edge x1, top edge y1, right edge x2,
    // bottom edge y2 (y grows upwards where y2 < y1).
    virtual void SetFrame(float x1, float y1, float x2, float y2) = 0;
    virtual void Line(float x1, float y1, float x2, float y2, Rgb c) = 0;
    // Radius in units of the frame's x axis.
    virtual void Circle(float x, float y, float radius, Rgb c) = 0;
    // The one pixel the point lands on.
    virtual void Point(float x, float y, Rgb c) = 0;
    // Erases the drawing; the background colour and picture stay.
    virtual void Clear() = 0;
    // Loads a picture by a bare file name from the working directory and
    // makes it the unscaled background, discarding the drawing. On a failure
    // nothing changes.
    virtual PictureFile SetBackgroundFromFile(const std::string& fileName) = 0;
    virtual void ClearBackground() = 0;
};

class WindowPort {
public:
    virtual ~WindowPort() = default;
    virtual std::string GetText(Field field) = 0;
    virtual void SetText(Field field, std::string_view text) = 0;
    // 0 clear, 1 ticked, 2 greyed.
    virtual int CheckValue(Series series) = 0;
    virtual int CheckValue(Box box) = 0;
    virtual Surface& Picture(app::Picture picture) = 0;
    // Modal, title "Morvane1", one OK button, no icon; returns after OK.
    virtual void MessageBox(Message message) = 0;
    // Windows of the system open now; a run goes on only while there is one.
    virtual int OpenWindowCount() = 0;
    // Closes the main window, then the help window if it is open.
    virtual void CloseWindows() = 0;
    // Opens the help window, or brings it to the front when it is open.
    virtual void ShowHelp() = 0;
    // Makes everything written so far visible (called when a run ends; the
    // driver of a run calls it between slices).
    virtual void Present() = 0;
    // The user's decimal separator.
    virtual char DecimalSeparator() = 0;
    // Whether what is written into the field is seen. A window shows every
    // field; the headless runner prints the readouts from their values, so
    // its window in memory has their texts left unwritten, which spares
    // three quarters of a display cycle's work.
    virtual bool Shows(Field) { return true; }
};

}  // namespace app
