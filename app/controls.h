// The window's controls as the run engine knows them: by what they are,
// numbered densely from 0 so that whatever is kept per control is an array
// of exactly that many. Only the window's control table
// (ui/form1_controls.cpp) ties them to the form's own numbers, places,
// captions and Qt object names.
#pragma once

#include <cstddef>

namespace app {

// The text fields: inputs, derived values, readouts, scales, run settings.
enum class Field {
    // inputs, read by Start
    M0, M1, R0, R1, V0, W0, CT, KR, KT,
    // derived at Start
    J0, CR, Fmrv, E0,
    // readouts of a display cycle; *Now where an input has the same symbol
    T, W0Now, X0, Y0, Ymrv, E, FR1, FR2, R1Now, R2Now, FT1, FT2, Fi1, Fi2, VX1, VX2, VY1, VY2, FX1, FX2,
    FY1, FY2, FX0, FY0,
    // display scales and run settings, read by Start and every display cycle
    MT, ML, MV, MF, Step, NC0,
    // the disk angle of the twist test, read by Start while Box::Twist is ticked
    Twist,
};
inline constexpr std::size_t kFieldCount = static_cast<std::size_t>(Field::Twist) + 1;

// The check boxes that choose the plotted quantities, in the plot's order.
enum class Series { VX1, VX2, VY1, VY2, FX1, FX2, FY1, FY2, FX0, FY0, FT1, FT2, EnergyError };
inline constexpr std::size_t kSeriesCount = static_cast<std::size_t>(Series::EnergyError) + 1;

// The other two check boxes.
enum class Box { Trajectories, Twist };
inline constexpr std::size_t kBoxCount = 2;

enum class Button { Start, Stop, Continue, StepNC0, Exit, ClearPictures, Scheme, Preset1, Preset2, About };
inline constexpr std::size_t kButtonCount = static_cast<std::size_t>(Button::About) + 1;

enum class Picture { ConstructionView, Plot };
inline constexpr std::size_t kPictureCount = 2;

// A control's place in an array kept per control of its kind.
template <class Control>
constexpr std::size_t Slot(Control c) {
    return static_cast<std::size_t>(c);
}

// Ticked when the window opens: FY1 and FY2 only.
constexpr bool InitiallyTicked(Series s) { return s == Series::FY1 || s == Series::FY2; }

// The pictures' places in twips (1/1440 inch; 15 make a pixel at 96 dpi):
// the window lays them out, and the headless runner maps its frames to the
// same pixels, so both refuse the same coordinates.
struct Twips {
    int left, top, width, height;
};
constexpr Twips PictureTwips(Picture p) {
    return p == Picture::ConstructionView ? Twips{7440, 0, 4395, 4395} : Twips{360, 4440, 8655, 3615};
}
constexpr int TwipsToPx(int twips) { return (twips + 7) / 15; }

}  // namespace app
