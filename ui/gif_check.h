// Whether a GIF is whole: Qt's reader shows a GIF cut short as far as it
// goes, and takes a frame of any size on a small screen.
#pragma once

#include <QByteArray>

namespace ui {

// Walks the GIF block by block to its trailer, with its screen and every
// frame at most maxSide pixels on a side.
bool GifLooksComplete(const QByteArray& data, int maxSide);

}  // namespace ui
