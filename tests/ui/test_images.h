// Picture files built byte by byte for the picture-loading tests.
#pragma once

#include <QByteArray>

namespace testing_support {

// A complete two-colour GIF: a logical screen and one frame of the given
// sizes, whose data codes a few pixels (the decoder leaves the rest blank).
QByteArray GifDeclaring(int width, int height, int frameWidth = 0, int frameHeight = 0) {
    if (frameWidth == 0) frameWidth = width;
    if (frameHeight == 0) frameHeight = height;
    QByteArray gif("GIF89a");
    auto le16 = [&gif](int v) {
        gif.append(static_cast<char>(v & 0xFF));
        gif.append(static_cast<char>((v >> 8) & 0xFF));
    };
    le16(width);
    le16(height);
    gif.append(static_cast<char>(0x80));  // global colour table of two entries
    gif.append('\0');
    gif.append('\0');
    gif.append(QByteArray("\x00\x00\x00\xff\xff\xff", 6));
    gif.append(',');  // image descriptor
    le16(0);
    le16(0);
    le16(frameWidth);
    le16(frameHeight);
    gif.append('\0');
    gif.append('\x02');  // LZW minimum code size
    gif.append(QByteArray("\x02\x44\x01\x00", 4));
    gif.append(';');
    return gif;
}

}  // namespace testing_support
