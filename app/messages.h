// The messages the system shows, each in one OK box titled "Morvane1".
#pragma once

#include <string_view>

// Marks a text for Qt's translation tools (lupdate), which the window's
// English reads; the text itself is unchanged. Spelt as Qt spells it, so
// either definition may come first.
#ifndef QT_TRANSLATE_NOOP
#define QT_TRANSLATE_NOOP(scope, x) x
#endif

namespace app {

enum class Message {
    kInputError,      // Start refused: a field is not a number, or the set-up fails
    kSolveError,      // a run ended by a failing step or display cycle
    kPlotError,       // a run ended by a point that cannot be drawn at the scales
    kSchemeMissing,   // no shema.gif in the working folder nor the installed one
    kSchemeUnusable,  // a shema.gif is there but is not a picture that can be shown
};

inline constexpr std::string_view kSchemeFileName = "shema.gif";

// The program's own Russian text; the misspellings of the plot message are
// its own wording and stay as they are. Lines are joined by CR LF. Each is a
// whole literal, so its data ends in a NUL as a translation's lookup needs.
constexpr std::string_view MessageText(Message m) {
    switch (m) {
        case Message::kInputError: return QT_TRANSLATE_NOOP("app::Message", "Введите правильно данные");
        case Message::kSolveError: return QT_TRANSLATE_NOOP("app::Message", "Ошибка решения уравнений");
        case Message::kPlotError:
            return QT_TRANSLATE_NOOP("app::Message",
                                     "                Несовместимость параметров\r\n"
                                     "Быстрее всего получились слишком большие силы \r\n"
                                     "а следоватедьно ускорения, скорости и координаты, что при\r\n"
                                     "заданных масштабах не позволяет вывести их на зкран");
        // The window adds the folders it looked in, or the file it read.
        case Message::kSchemeMissing: return QT_TRANSLATE_NOOP("app::Message", "Нет файла shema.gif ни в одной из папок");
        case Message::kSchemeUnusable:
            return QT_TRANSLATE_NOOP("app::Message", "Файл shema.gif не удалось прочитать как рисунок");
    }
    return "";
}

}  // namespace app
