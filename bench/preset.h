// What the benchmarks time: the record as Start leaves it with preset 2 in
// the fields of a window in memory.
#pragma once

#include "app/controller.h"
#include "app/memory_port.h"
#include "app/start.h"

namespace bench {

inline app::Record Preset2() {
    app::MemoryPort port;
    app::Controller form(port);
    form.Load();
    form.Press(app::Button::Preset2);
    app::Record rec;
    app::StartFromFields(port, rec);
    return rec;
}

}  // namespace bench
