#include "ui/form1_controls.h"

#include <array>

namespace ui {
namespace {

using app::Box;
using app::Button;
using app::Field;
using app::Picture;
using app::Series;

// A field's first text is the one the window shows before its first write:
// its own name for a readout, the preset's value for an input.
constexpr ControlSpec F(Field f, int left, int top, int width, int height) {
    return {ControlKind::kTextField, static_cast<int>(f), left, top, width, height, ""};
}
constexpr ControlSpec C(Series s, int left, int top, int width, int height, const char* caption) {
    return {ControlKind::kCheckBox, static_cast<int>(s), left, top, width, height, caption, app::InitiallyTicked(s)};
}
constexpr ControlSpec C(Box b, int left, int top, int width, int height, const char* caption) {
    return {ControlKind::kCheckBox, static_cast<int>(b), left, top, width, height, caption};
}
constexpr ControlSpec B(Button b, int left, int top, int width, int height, const char* caption) {
    return {ControlKind::kButton, static_cast<int>(b), left, top, width, height, caption};
}
constexpr ControlSpec L(int number, int left, int top, int width, int height, const char* caption) {
    return {ControlKind::kLabel, number, left, top, width, height, caption};
}
constexpr ControlSpec P(Picture p) {
    const app::Twips t = app::PictureTwips(p);
    return {ControlKind::kPicture, static_cast<int>(p), t.left, t.top, t.width, t.height, ""};
}

constexpr std::array<ControlSpec, 144> kControls{{
    // Physical inputs: field, name label, unit label.
    F(Field::M0, 360, 120, 1335, 285),
    L(1, 120, 160, 375, 255, "m0"),
    L(31, 1800, 140, 255, 255, "кг"),
    F(Field::M1, 360, 420, 1335, 285),
    L(11, 120, 440, 375, 255, "m1"),
    L(32, 1800, 460, 255, 255, "кг"),
    F(Field::R0, 360, 720, 1335, 285),
    L(3, 120, 760, 255, 255, "R0"),
    L(33, 1800, 760, 255, 255, "м"),
    F(Field::R1, 360, 1020, 1335, 285),
    L(73, 120, 1060, 375, 255, "R1"),
    L(16, 1800, 1060, 255, 255, "м"),
    F(Field::V0, 360, 1320, 1335, 285),
    L(12, 120, 1360, 255, 255, "V0"),
    L(22, 1800, 1360, 375, 255, "м/с"),
    F(Field::W0, 360, 1620, 1335, 285),
    L(13, 120, 1660, 255, 255, "w0"),
    L(23, 1800, 1660, 495, 255, "рад/с"),
    F(Field::CT, 360, 1920, 1335, 285),
    L(14, 120, 1960, 255, 255, "CT"),
    L(24, 1800, 1960, 615, 255, "н*м/рад"),
    F(Field::KR, 360, 2220, 1335, 285),
    L(6, 120, 2260, 255, 255, "KR"),
    L(35, 1800, 2260, 495, 255, "н*с/м"),
    F(Field::KT, 360, 2520, 1335, 285),
    L(5, 120, 2560, 255, 255, "KT"),
    L(7, 1800, 2560, 855, 255, "н*м*с/рад"),

    // Derived values: field, formula label, unit label.
    F(Field::Fmrv, 4800, 3020, 1935, 285),
    L(38, 120, 3090, 4575, 255, "Fmrv = V0 * (J0 * w0 + 2 * m1 * R1^2 * w0) * w0^2 / 2 / Vsv^2 ="),
    L(49, 6840, 3020, 255, 255, "н"),
    F(Field::J0, 1440, 3360, 1935, 285),
    L(20, 120, 3390, 1215, 255, "J0=0,5*m0*R0^2"),
    L(10, 3480, 3390, 615, 255, "кг*м^2"),
    F(Field::CR, 1120, 3720, 1935, 285),
    L(4, 120, 3760, 975, 255, "CR=m1*w0^2"),
    L(34, 3120, 3740, 375, 255, "н/м"),

    // Readouts of the current state: field, name label.
    F(Field::X0, 3000, 120, 1935, 285),
    L(27, 2760, 160, 255, 255, "X0"),
    F(Field::Y0, 3000, 420, 1935, 285),
    L(37, 2760, 460, 375, 255, "Y0"),
    F(Field::Ymrv, 3000, 720, 1935, 285),
    L(28, 2640, 760, 375, 255, "Ymrv"),
    F(Field::E0, 3000, 1020, 1935, 285),
    L(76, 2760, 1060, 255, 255, "E0"),
    F(Field::E, 3000, 1320, 1935, 285),
    L(79, 2760, 1360, 135, 255, "E"),
    F(Field::FR1, 5400, 120, 1935, 285),
    L(17, 5040, 160, 375, 255, "FR1"),
    F(Field::FR2, 5400, 420, 1935, 285),
    L(18, 5040, 460, 375, 255, "FR2"),
    F(Field::R1Now, 5400, 720, 1935, 285),
    L(39, 5040, 760, 255, 255, "R1"),
    F(Field::R2Now, 5400, 1020, 1935, 285),
    L(40, 5040, 1060, 375, 255, "R2"),
    F(Field::FT1, 5400, 1320, 1935, 285),
    L(19, 5040, 1360, 375, 255, "FT1"),
    F(Field::FT2, 5400, 1620, 1935, 285),
    L(9, 5040, 1660, 375, 255, "FT2"),
    F(Field::Fi1, 5400, 1920, 1935, 285),
    L(8, 5160, 1960, 375, 255, "fi1"),
    F(Field::Fi2, 5400, 2220, 1935, 285),
    L(2, 5160, 2260, 375, 255, "fi2"),
    F(Field::W0Now, 5400, 2520, 1935, 285),
    L(25, 5160, 2560, 375, 255, "w0"),

    // Display scales.
    F(Field::MT, 3840, 1620, 1095, 285),
    L(75, 2760, 1660, 735, 255, "MT, с/см"),
    F(Field::ML, 3840, 1920, 1095, 285),
    L(29, 2760, 1960, 735, 255, "ML, м/см"),
    F(Field::MV, 3840, 2220, 1095, 285),
    L(30, 2760, 2260, 1065, 300, "MV, (м/с)/см"),
    F(Field::MF, 3600, 2520, 1335, 285),
    L(78, 2760, 2560, 735, 255, "MF, н/см"),

    // Run settings and time, the row above the plot.
    L(85, 0, 4120, 375, 255, "NC0"),
    F(Field::NC0, 360, 4080, 735, 285),
    B(Button::StepNC0, 1080, 4080, 1725, 300, "Сделать NC0 шагов"),
    L(26, 2880, 4120, 495, 255, "шаг, с"),
    F(Field::Step, 3360, 4080, 1695, 285),
    L(77, 5160, 4120, 375, 255, "T, с"),
    F(Field::T, 5520, 4080, 1935, 285),

    // Options.
    C(Series::EnergyError, 1320, 2880, 1695, 195, "10^10 * (E-E0)/E0"),
    C(Series::FT1, 3120, 2880, 735, 195, "FT1"),
    C(Series::FT2, 3960, 2880, 735, 195, "FT2"),
    C(Box::Twist, 5280, 3420, 1335, 195, "+ тест с fi0="),
    F(Field::Twist, 6480, 3360, 855, 285),
    C(Box::Trajectories, 6120, 3760, 1335, 195, "+ траектории"),

    // Buttons.
    B(Button::Start, 4200, 3360, 975, 300, " Начать"),
    B(Button::Stop, 3480, 3720, 1215, 300, "Остановить"),
    B(Button::Continue, 4800, 3720, 1215, 300, "Продолжить"),
    B(Button::Scheme, 6360, 8040, 765, 300, "схема"),
    B(Button::Preset1, 7200, 8040, 615, 300, "вар.1"),
    B(Button::Preset2, 7920, 8040, 615, 300, "вар.2"),
    B(Button::ClearPictures, 8640, 8040, 1605, 300, "Очистить  рисунки"),
    B(Button::About, 10320, 8040, 735, 280, "About"),
    B(Button::Exit, 11160, 8040, 735, 280, "Выход"),

    // Drawing surfaces: the construction view and the time-history plot.
    P(Picture::ConstructionView),
    P(Picture::Plot),

    // Plot column, one row every 360 twips: check box (only as wide as its
    // box, so its caption never shows), name label, readout.
    C(Series::VX1, 9120, 4440, 255, 255, ""),
    L(41, 9480, 4440, 375, 255, "VX1"),
    F(Field::VX1, 9960, 4440, 1935, 285),
    C(Series::VX2, 9120, 4800, 255, 255, ""),
    L(42, 9480, 4800, 375, 255, "VX2"),
    F(Field::VX2, 9960, 4800, 1935, 285),
    C(Series::VY1, 9120, 5160, 255, 255, "Check3"),
    L(43, 9480, 5160, 375, 255, "VY1"),
    F(Field::VY1, 9960, 5160, 1935, 285),
    C(Series::VY2, 9120, 5520, 255, 255, "Check4"),
    L(44, 9480, 5520, 375, 255, "VY2"),
    F(Field::VY2, 9960, 5520, 1935, 285),
    C(Series::FX1, 9120, 5880, 255, 195, "Check5"),
    L(45, 9480, 5880, 375, 255, "FX1"),
    F(Field::FX1, 9960, 5880, 1935, 285),
    C(Series::FX2, 9120, 6240, 255, 195, "Check6"),
    L(36, 9480, 6240, 375, 255, "FX2"),
    F(Field::FX2, 9960, 6240, 1935, 285),
    C(Series::FY1, 9120, 6600, 255, 255, "Check7"),
    L(46, 9480, 6600, 495, 255, "FY1"),
    F(Field::FY1, 9960, 6600, 1935, 285),
    C(Series::FY2, 9120, 6960, 255, 195, "Check8"),
    L(82, 9480, 6960, 375, 255, "FY2"),
    F(Field::FY2, 9960, 6960, 1935, 285),
    C(Series::FX0, 9120, 7320, 255, 195, "Check9"),
    L(47, 9480, 7320, 375, 255, "FX0"),
    F(Field::FX0, 9960, 7320, 1935, 285),
    C(Series::FY0, 9120, 7680, 255, 195, "Check10"),
    L(48, 9480, 7680, 375, 255, "FY0"),
    F(Field::FY0, 9960, 7680, 1935, 285),

    // Axis numbers of the plot: y on the left, x below.
    L(61, 120, 4680, 135, 255, "4"),
    L(60, 120, 5040, 135, 255, "3"),
    L(59, 120, 5400, 135, 255, "2"),
    L(58, 120, 5760, 135, 255, "1"),
    L(57, 120, 6120, 135, 255, "0"),
    L(62, 120, 6480, 255, 255, "-1"),
    L(63, 120, 6840, 255, 255, "-2"),
    L(64, 120, 7200, 255, 255, "-3"),
    L(65, 120, 7560, 255, 255, "-4"),
    L(66, 360, 8040, 255, 255, "0"),
    L(67, 1040, 8040, 255, 255, "2"),
    L(68, 1720, 8040, 255, 255, "4"),
    L(69, 2420, 8040, 255, 255, "6"),
    L(70, 3080, 8040, 255, 255, "8"),
    L(80, 3720, 8040, 375, 255, "10"),
    L(15, 4440, 8040, 255, 255, "12"),
    L(21, 5160, 8040, 255, 255, "14"),
    L(71, 5520, 8100, 735, 255, "T/MT, см"),
}};

// No two controls of a kind share a number: the window keeps its widgets by
// them, and a name given a number twice would leave a control unreachable.
constexpr bool NumbersAreDistinct() {
    for (std::size_t i = 0; i < kControls.size(); ++i)
        for (std::size_t j = i + 1; j < kControls.size(); ++j)
            if (kControls[i].kind == kControls[j].kind && kControls[i].number == kControls[j].number) return false;
    return true;
}
static_assert(NumbersAreDistinct());

}  // namespace

std::span<const ControlSpec> Form1Controls() { return kControls; }

QString ControlName(const ControlSpec& control) {
    const char* prefix = "";
    switch (control.kind) {
        case ControlKind::kButton: prefix = "Command"; break;
        case ControlKind::kCheckBox: prefix = "Check"; break;
        case ControlKind::kTextField: prefix = "Text"; break;
        case ControlKind::kLabel: prefix = "Label"; break;
        case ControlKind::kPicture: prefix = "Picture"; break;
    }
    return QString::fromLatin1(prefix) + QString::number(control.number);
}

}  // namespace ui
