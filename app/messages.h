// The messages the system shows, each in one OK box titled "Morvane1".
#pragma once

#include <string_view>

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
// its own wording and stay as they are. Lines are joined by CR LF.
constexpr std::string_view MessageText(Message m) {
    switch (m) {
        case Message::kInputError: return "Введите правильно данные";
        case Message::kSolveError: return "Ошибка решения уравнений";
        case Message::kPlotError:
            return "                Несовместимость параметров\r\n"
                   "Быстрее всего получились слишком большие силы \r\n"
                   "а следоватедьно ускорения, скорости и координаты, что при\r\n"
                   "заданных масштабах не позволяет вывести их на зкран";
        // The window adds the folders it looked in, or the file it read.
        case Message::kSchemeMissing: return "Нет файла shema.gif ни в одной из папок";
        case Message::kSchemeUnusable: return "Файл shema.gif не удалось прочитать как рисунок";
    }
    return "";
}

}  // namespace app
