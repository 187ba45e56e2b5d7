#include "ui/form1_controls.h"

#include <array>
#include <string_view>

namespace ui {
namespace {

using app::Box;
using app::Button;
using app::Field;
using app::Picture;
using app::Series;
using app::Slot;

// Each row names the form's number, then the control by what it is. Words
// are marked for the translation tools; the window shows them translated
// when the program has a translation (--lang en).
constexpr ControlSpec F(int number, Field f, int left, int top, int width, int height, const char* first = "") {
    return {ControlKind::kTextField, number, Slot(f), left, top, width, height, first};
}
constexpr ControlSpec C(int number, Series s, int left, int top, int width, int height, const char* caption) {
    return {ControlKind::kSeries, number, Slot(s), left, top, width, height, caption, app::InitiallyTicked(s)};
}
constexpr ControlSpec C(int number, Box b, int left, int top, int width, int height, const char* caption) {
    return {ControlKind::kBox, number, Slot(b), left, top, width, height, caption};
}
constexpr ControlSpec B(int number, Button b, int left, int top, int width, int height, const char* caption) {
    return {ControlKind::kButton, number, Slot(b), left, top, width, height, caption};
}
constexpr ControlSpec L(int number, int left, int top, int width, int height, const char* caption) {
    return {ControlKind::kLabel, number, 0, left, top, width, height, caption};
}
constexpr ControlSpec P(int number, Picture p) {
    const app::Twips t = app::PictureTwips(p);
    return {ControlKind::kPicture, number, Slot(p), t.left, t.top, t.width, t.height, ""};
}

constexpr std::array<ControlSpec, 144> kControls{{
    // Physical inputs: field, name label, unit label.
    F(1, Field::M0, 360, 120, 1335, 285),
    L(1, 120, 160, 375, 255, "m0"),
    L(31, 1800, 140, 255, 255, QT_TRANSLATE_NOOP("ui::Form1", "кг")),
    F(11, Field::M1, 360, 420, 1335, 285),
    L(11, 120, 440, 375, 255, "m1"),
    L(32, 1800, 460, 255, 255, QT_TRANSLATE_NOOP("ui::Form1", "кг")),
    F(2, Field::R0, 360, 720, 1335, 285),
    L(3, 120, 760, 255, 255, "R0"),
    L(33, 1800, 760, 255, 255, QT_TRANSLATE_NOOP("ui::Form1", "м")),
    F(3, Field::R1, 360, 1020, 1335, 285),
    L(73, 120, 1060, 375, 255, "R1"),
    L(16, 1800, 1060, 255, 255, QT_TRANSLATE_NOOP("ui::Form1", "м")),
    F(4, Field::V0, 360, 1320, 1335, 285),
    L(12, 120, 1360, 255, 255, "V0"),
    L(22, 1800, 1360, 375, 255, QT_TRANSLATE_NOOP("ui::Form1", "м/с")),
    F(5, Field::W0, 360, 1620, 1335, 285),
    L(13, 120, 1660, 255, 255, "w0"),
    L(23, 1800, 1660, 495, 255, QT_TRANSLATE_NOOP("ui::Form1", "рад/с")),
    F(6, Field::CT, 360, 1920, 1335, 285),
    L(14, 120, 1960, 255, 255, "CT"),
    L(24, 1800, 1960, 615, 255, QT_TRANSLATE_NOOP("ui::Form1", "н*м/рад")),
    F(7, Field::KR, 360, 2220, 1335, 285),
    L(6, 120, 2260, 255, 255, "KR"),
    L(35, 1800, 2260, 495, 255, QT_TRANSLATE_NOOP("ui::Form1", "н*с/м")),
    F(8, Field::KT, 360, 2520, 1335, 285),
    L(5, 120, 2560, 255, 255, "KT"),
    L(7, 1800, 2560, 855, 255, QT_TRANSLATE_NOOP("ui::Form1", "н*м*с/рад")),

    // Derived values: field, formula label, unit label.
    F(18, Field::Fmrv, 4800, 3020, 1935, 285),
    L(38, 120, 3090, 4575, 255, "Fmrv = V0 * (J0 * w0 + 2 * m1 * R1^2 * w0) * w0^2 / 2 / Vsv^2 ="),
    L(49, 6840, 3020, 255, 255, QT_TRANSLATE_NOOP("ui::Form1", "н")),
    F(20, Field::J0, 1440, 3360, 1935, 285),
    L(20, 120, 3390, 1215, 255, "J0=0,5*m0*R0^2"),
    L(10, 3480, 3390, 615, 255, QT_TRANSLATE_NOOP("ui::Form1", "кг*м^2")),
    F(9, Field::CR, 1120, 3720, 1935, 285),
    L(4, 120, 3760, 975, 255, "CR=m1*w0^2"),
    L(34, 3120, 3740, 375, 255, QT_TRANSLATE_NOOP("ui::Form1", "н/м")),

    // Readouts of the current state: field, name label.
    F(12, Field::X0, 3000, 120, 1935, 285),
    L(27, 2760, 160, 255, 255, "X0"),
    F(22, Field::Y0, 3000, 420, 1935, 285),
    L(37, 2760, 460, 375, 255, "Y0"),
    F(19, Field::Ymrv, 3000, 720, 1935, 285),
    L(28, 2640, 760, 375, 255, "Ymrv"),
    F(13, Field::E0, 3000, 1020, 1935, 285),
    L(76, 2760, 1060, 255, 255, "E0"),
    F(23, Field::E, 3000, 1320, 1935, 285),
    L(79, 2760, 1360, 135, 255, "E"),
    F(24, Field::FR1, 5400, 120, 1935, 285),
    L(17, 5040, 160, 375, 255, "FR1"),
    F(25, Field::FR2, 5400, 420, 1935, 285),
    L(18, 5040, 460, 375, 255, "FR2"),
    F(27, Field::R1Now, 5400, 720, 1935, 285),
    L(39, 5040, 760, 255, 255, "R1"),
    F(28, Field::R2Now, 5400, 1020, 1935, 285),
    L(40, 5040, 1060, 375, 255, "R2"),
    F(14, Field::FT1, 5400, 1320, 1935, 285),
    L(19, 5040, 1360, 375, 255, "FT1"),
    F(15, Field::FT2, 5400, 1620, 1935, 285),
    L(9, 5040, 1660, 375, 255, "FT2"),
    F(16, Field::Fi1, 5400, 1920, 1935, 285),
    L(8, 5160, 1960, 375, 255, "fi1"),
    F(17, Field::Fi2, 5400, 2220, 1935, 285),
    L(2, 5160, 2260, 375, 255, "fi2"),
    F(10, Field::W0Now, 5400, 2520, 1935, 285),
    L(25, 5160, 2560, 375, 255, "w0"),

    // Display scales.
    F(51, Field::MT, 3840, 1620, 1095, 285),
    L(75, 2760, 1660, 735, 255, QT_TRANSLATE_NOOP("ui::Form1", "MT, с/см")),
    F(29, Field::ML, 3840, 1920, 1095, 285),
    L(29, 2760, 1960, 735, 255, QT_TRANSLATE_NOOP("ui::Form1", "ML, м/см")),
    F(30, Field::MV, 3840, 2220, 1095, 285),
    L(30, 2760, 2260, 1065, 300, QT_TRANSLATE_NOOP("ui::Form1", "MV, (м/с)/см")),
    F(26, Field::MF, 3600, 2520, 1335, 285),
    L(78, 2760, 2560, 735, 255, QT_TRANSLATE_NOOP("ui::Form1", "MF, н/см")),

    // Run settings and time, the row above the plot.
    L(85, 0, 4120, 375, 255, "NC0"),
    F(55, Field::NC0, 360, 4080, 735, 285),
    B(10, Button::StepNC0, 1080, 4080, 1725, 300, QT_TRANSLATE_NOOP("ui::Form1", "Сделать NC0 шагов")),
    L(26, 2880, 4120, 495, 255, QT_TRANSLATE_NOOP("ui::Form1", "шаг, с")),
    F(54, Field::Step, 3360, 4080, 1695, 285),
    L(77, 5160, 4120, 375, 255, QT_TRANSLATE_NOOP("ui::Form1", "T, с")),
    F(60, Field::T, 5520, 4080, 1935, 285),

    // Options.
    C(13, Series::EnergyError, 1320, 2880, 1695, 195, "10^10 * (E-E0)/E0"),
    C(11, Series::FT1, 3120, 2880, 735, 195, "FT1"),
    C(12, Series::FT2, 3960, 2880, 735, 195, "FT2"),
    C(16, Box::Twist, 5280, 3420, 1335, 195, QT_TRANSLATE_NOOP("ui::Form1", "+ тест с fi0=")),
    F(21, Field::Twist, 6480, 3360, 855, 285, "0,2"),
    C(15, Box::Trajectories, 6120, 3760, 1335, 195, QT_TRANSLATE_NOOP("ui::Form1", "+ траектории")),

    // Buttons.
    B(1, Button::Start, 4200, 3360, 975, 300, QT_TRANSLATE_NOOP("ui::Form1", " Начать")),
    B(2, Button::Stop, 3480, 3720, 1215, 300, QT_TRANSLATE_NOOP("ui::Form1", "Остановить")),
    B(3, Button::Continue, 4800, 3720, 1215, 300, QT_TRANSLATE_NOOP("ui::Form1", "Продолжить")),
    B(7, Button::Scheme, 6360, 8040, 765, 300, QT_TRANSLATE_NOOP("ui::Form1", "схема")),
    B(8, Button::Preset1, 7200, 8040, 615, 300, QT_TRANSLATE_NOOP("ui::Form1", "вар.1")),
    B(9, Button::Preset2, 7920, 8040, 615, 300, QT_TRANSLATE_NOOP("ui::Form1", "вар.2")),
    B(5, Button::ClearPictures, 8640, 8040, 1605, 300, QT_TRANSLATE_NOOP("ui::Form1", "Очистить  рисунки")),
    B(6, Button::About, 10320, 8040, 735, 280, "About"),
    B(4, Button::Exit, 11160, 8040, 735, 280, QT_TRANSLATE_NOOP("ui::Form1", "Выход")),

    // Drawing surfaces: the construction view and the time-history plot.
    P(1, Picture::ConstructionView),
    P(2, Picture::Plot),

    // Plot column, one row every 360 twips: check box (only as wide as its
    // box, so its caption never shows), name label, readout.
    C(1, Series::VX1, 9120, 4440, 255, 255, ""),
    L(41, 9480, 4440, 375, 255, "VX1"),
    F(31, Field::VX1, 9960, 4440, 1935, 285),
    C(2, Series::VX2, 9120, 4800, 255, 255, ""),
    L(42, 9480, 4800, 375, 255, "VX2"),
    F(32, Field::VX2, 9960, 4800, 1935, 285),
    C(3, Series::VY1, 9120, 5160, 255, 255, "Check3"),
    L(43, 9480, 5160, 375, 255, "VY1"),
    F(33, Field::VY1, 9960, 5160, 1935, 285),
    C(4, Series::VY2, 9120, 5520, 255, 255, "Check4"),
    L(44, 9480, 5520, 375, 255, "VY2"),
    F(34, Field::VY2, 9960, 5520, 1935, 285),
    C(5, Series::FX1, 9120, 5880, 255, 195, "Check5"),
    L(45, 9480, 5880, 375, 255, "FX1"),
    F(35, Field::FX1, 9960, 5880, 1935, 285),
    C(6, Series::FX2, 9120, 6240, 255, 195, "Check6"),
    L(36, 9480, 6240, 375, 255, "FX2"),
    F(36, Field::FX2, 9960, 6240, 1935, 285),
    C(7, Series::FY1, 9120, 6600, 255, 255, "Check7"),
    L(46, 9480, 6600, 495, 255, "FY1"),
    F(37, Field::FY1, 9960, 6600, 1935, 285),
    C(8, Series::FY2, 9120, 6960, 255, 195, "Check8"),
    L(82, 9480, 6960, 375, 255, "FY2"),
    F(38, Field::FY2, 9960, 6960, 1935, 285),
    C(9, Series::FX0, 9120, 7320, 255, 195, "Check9"),
    L(47, 9480, 7320, 375, 255, "FX0"),
    F(39, Field::FX0, 9960, 7320, 1935, 285),
    C(10, Series::FY0, 9120, 7680, 255, 195, "Check10"),
    L(48, 9480, 7680, 375, 255, "FY0"),
    F(40, Field::FY0, 9960, 7680, 1935, 285),

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
    L(71, 5520, 8100, 735, 255, QT_TRANSLATE_NOOP("ui::Form1", "T/MT, см")),
}};

// No two controls of one name prefix share a number, or a name would
// leave a control unreachable; and every control the engine knows has
// exactly one row, so each slot of the window's arrays holds a widget.
constexpr const char* Prefix(ControlKind kind) {
    switch (kind) {
        case ControlKind::kButton: return "Command";
        case ControlKind::kSeries:
        case ControlKind::kBox: return "Check";
        case ControlKind::kTextField: return "Text";
        case ControlKind::kLabel: return "Label";
        case ControlKind::kPicture: return "Picture";
    }
    return "";
}
constexpr bool NamesAreDistinct() {
    for (std::size_t i = 0; i < kControls.size(); ++i)
        for (std::size_t j = i + 1; j < kControls.size(); ++j)
            // The numbers first: comparing every pair's names would exceed
            // the compile-time step limit of some compilers.
            if (kControls[i].number == kControls[j].number &&
                std::string_view(Prefix(kControls[i].kind)) == Prefix(kControls[j].kind))
                return false;
    return true;
}
constexpr bool EachOnce(ControlKind kind, std::size_t count) {
    for (std::size_t slot = 0; slot < count; ++slot) {
        int rows = 0;
        for (const ControlSpec& c : kControls) rows += c.kind == kind && c.slot == slot;
        if (rows != 1) return false;
    }
    for (const ControlSpec& c : kControls)
        if (c.kind == kind && c.slot >= count) return false;
    return true;
}
static_assert(NamesAreDistinct());
static_assert(EachOnce(ControlKind::kTextField, app::kFieldCount) && EachOnce(ControlKind::kSeries, app::kSeriesCount) &&
              EachOnce(ControlKind::kBox, app::kBoxCount) && EachOnce(ControlKind::kButton, app::kButtonCount) &&
              EachOnce(ControlKind::kPicture, app::kPictureCount));

}  // namespace

std::span<const ControlSpec> Form1Controls() { return kControls; }

QString ControlName(const ControlSpec& control) {
    return QString::fromLatin1(Prefix(control.kind)) + QString::number(control.number);
}

QString FirstText(const ControlSpec& control) {
    return *control.text ? QString::fromUtf8(control.text) : ControlName(control);
}

}  // namespace ui
