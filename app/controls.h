// The window's controls as the run engine knows them: by what they are. The
// values are the form's own control numbers, which only the window's
// control table (ui/form1_controls.cpp) ties to places, captions and Qt
// object names.
#pragma once

#include <string>

namespace app {

// The text fields: inputs, derived values, readouts, scales, run settings.
enum class Field {
    // inputs, read by Start
    M0 = 1, R0 = 2, R1 = 3, V0 = 4, W0 = 5, CT = 6, KR = 7, KT = 8, M1 = 11,
    // derived at Start
    CR = 9, Fmrv = 18, J0 = 20, E0 = 13,
    // readouts of a display cycle; *Now where an input has the same symbol
    T = 60, W0Now = 10, X0 = 12, Y0 = 22, Ymrv = 19, E = 23, FR1 = 24, FR2 = 25, R1Now = 27, R2Now = 28,
    FT1 = 14, FT2 = 15, Fi1 = 16, Fi2 = 17, VX1 = 31, VX2 = 32, VY1 = 33, VY2 = 34, FX1 = 35, FX2 = 36,
    FY1 = 37, FY2 = 38, FX0 = 39, FY0 = 40,
    // display scales and run settings, read by Start and every display cycle
    MT = 51, ML = 29, MV = 30, MF = 26, Step = 54, NC0 = 55,
    // the disk angle of the twist test, read by Start while Box::Twist is ticked
    Twist = 21,
};
inline constexpr int kFieldSlots = 61;  // the largest number, plus one

// The check boxes that choose the plotted quantities, in the plot's order.
enum class Series {
    VX1 = 1, VX2 = 2, VY1 = 3, VY2 = 4, FX1 = 5, FX2 = 6, FY1 = 7, FY2 = 8, FX0 = 9, FY0 = 10,
    FT1 = 11, FT2 = 12, EnergyError = 13,
};
// The other two check boxes.
enum class Box { Trajectories = 15, Twist = 16 };
inline constexpr int kBoxSlots = 17;

enum class Button {
    Start = 1, Stop = 2, Continue = 3, Exit = 4, ClearPictures = 5, About = 6, Scheme = 7, Preset1 = 8,
    Preset2 = 9, StepNC0 = 10,
};
inline constexpr int kButtonSlots = 11;

enum class Picture { ConstructionView = 1, Plot = 2 };

// What the window shows when it opens, before preset 1 fills the inputs:
// each readout its own control name until the first Start, the twist test's
// angle "0,2", and only FY1 and FY2 ticked.
inline std::string InitialText(Field f) {
    return f == Field::Twist ? "0,2" : "Text" + std::to_string(static_cast<int>(f));
}
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
