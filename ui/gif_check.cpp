#include "ui/gif_check.h"

namespace ui {

// Hand-written: QImageReader has no way to tell a whole GIF from a cut one.
bool GifLooksComplete(const QByteArray& d, int maxSide) {
    const qsizetype n = d.size();
    auto byte = [&d](qsizetype i) { return static_cast<int>(static_cast<unsigned char>(d[i])); };
    auto word = [&byte](qsizetype i) { return byte(i) | (byte(i + 1) << 8); };
    auto fits = [maxSide](int w, int h) { return w <= maxSide && h <= maxSide; };
    if (n < 13 || !fits(word(6), word(8))) return false;
    qsizetype i = 13;
    if (byte(10) & 0x80) i += 3 * (qsizetype{2} << (byte(10) & 7));  // global colour table
    auto skipSubBlocks = [&]() {
        while (i < n) {
            const int length = byte(i++);
            if (length == 0) return true;
            i += length;
        }
        return false;
    };
    while (i < n) {
        switch (byte(i++)) {
            case 0x3B:  // trailer
                return true;
            case 0x21:  // extension: label, then data sub-blocks
                if (++i > n || !skipSubBlocks()) return false;
                break;
            case 0x2C: {  // image: descriptor, colour table, code size, data
                if (i + 10 > n || !fits(word(i + 4), word(i + 6))) return false;
                const int flags = byte(i + 8);
                i += 9;
                if (flags & 0x80) i += 3 * (qsizetype{2} << (flags & 7));
                if (++i > n || !skipSubBlocks()) return false;
                break;
            }
            default:
                return false;
        }
    }
    return false;
}

}  // namespace ui
