// The system's three messages, and the two it shows when the scheme picture
// cannot be loaded.
#pragma once

#include <string_view>

namespace app {

inline constexpr std::string_view kInputErrorText = "Введите правильно данные";
inline constexpr std::string_view kSolveErrorText = "Ошибка решения уравнений";
// Four lines joined by CR LF; the last has none. The misspellings are the
// program's own wording and stay as they are.
inline constexpr std::string_view kPlotErrorText =
    "                Несовместимость параметров\r\n"
    "Быстрее всего получились слишком большие силы \r\n"
    "а следоватедьно ускорения, скорости и координаты, что при\r\n"
    "заданных масштабах не позволяет вывести их на зкран";
inline constexpr std::string_view kSchemeFileName = "shema.gif";
inline constexpr std::string_view kSchemeMissingText = "Нет файла shema.gif в рабочей папке программы";
inline constexpr std::string_view kSchemeUnusableText =
    "Файл shema.gif в рабочей папке программы не удалось прочитать как рисунок";

}  // namespace app
