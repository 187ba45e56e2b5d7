// "схема" on whatever lies in the working folder as shema.gif: the input is
// written there and the button runs through the run controller on a real
// construction view. A file the view takes shows as its background; any
// other file gives the scheme's "cannot read" message and leaves the view
// exactly as it was. Nothing crashes, and no file makes the picture
// allocate without bound (tools/fuzz.sh caps the memory at 2 GB).
#include <QApplication>
#include <QImage>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "app/controller.h"
#include "app/memory_port.h"
#include "ui/picture_box.h"
#include "ui/twips.h"

namespace {

// The memory window with a real construction view.
class SchemePort : public app::MemoryPort {
public:
    app::Surface& Picture(app::Picture p) override {
        return p == app::Picture::ConstructionView ? real : MemoryPort::Picture(p);
    }
    ui::PictureBox real{[] {
        const app::Twips t = app::PictureTwips(app::Picture::ConstructionView);
        return ui::TwipsRect(0, 0, t.width, t.height);
    }()};
};

void Require(bool holds, const char* what) {
    if (holds) return;
    std::fprintf(stderr, "scheme_picture_fuzz: %s\n", what);
    std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    static QApplication app(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::FILE* f = std::fopen("shema.gif", "wb");
    Require(f && (size == 0 || std::fwrite(data, 1, size, f) == size) && std::fclose(f) == 0,
            "cannot write shema.gif");
    static SchemePort port;
    static app::Controller controller(port);
    controller.Press(app::Button::ClearPictures);
    port.real.Circle(1, 1, 2, app::Rgb{0, 0, 250});
    const QImage before = port.real.image().copy();
    port.messages.clear();
    controller.Press(app::Button::Scheme);
    if (port.messages.empty()) return 0;  // the picture was taken
    Require(port.messages.size() == 1 && port.messages[0] == app::Message::kSchemeUnusable,
            "a message other than the scheme's");
    Require(port.real.image() == before, "a refused picture changed the view");
    return 0;
}
