// "схема" on whatever lies in the working folder as shema.gif: the input is
// written there and the button runs through the run engine on a real
// construction view. A file the view takes shows as its background; any
// other gives the "cannot read" message and leaves the view as it was.
// Nothing crashes or allocates without bound (tools/fuzz.sh caps memory).
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
struct SchemePort : app::MemoryPort {
    app::Surface& Picture(app::Picture p) override {
        return p == app::Picture::ConstructionView ? real : MemoryPort::Picture(p);
    }
    const app::Twips place = app::PictureTwips(app::Picture::ConstructionView);
    ui::PictureBox real{ui::TwipsRect(0, 0, place.width, place.height)};
};

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    static QApplication app(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::FILE* f = std::fopen("shema.gif", "wb");
    if (!f || (size && std::fwrite(data, 1, size, f) != size) || std::fclose(f) != 0) std::abort();
    static SchemePort port;
    static app::Controller controller(port);
    controller.Press(app::Button::ClearPictures);
    port.real.Circle(1, 1, 2, app::Rgb{0, 0, 250});
    const QImage before = port.real.image().copy();
    port.messages.clear();
    controller.Press(app::Button::Scheme);
    if (!port.messages.empty() &&
        (port.messages != std::vector{app::Message::kSchemeUnusable} || port.real.image() != before))
        std::abort();  // a message other than the scheme's, or a refused picture changed the view
    return 0;
}
