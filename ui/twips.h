// Control geometry is given in twips (1/1440 inch). At 96 dpi 15 twips make
// one pixel; Qt's logical pixels already carry the screen's device pixel
// ratio, so a twip value divided by 15 is the logical size on any screen.
#pragma once

#include <QRect>

#include "app/controls.h"

namespace ui {

using app::TwipsToPx;

inline QRect TwipsRect(int left, int top, int width, int height) {
    return QRect(TwipsToPx(left), TwipsToPx(top), TwipsToPx(width), TwipsToPx(height));
}

}  // namespace ui
