// The runner's command line, split into arguments at NUL bytes: whatever
// the parser accepts goes into the fields, and Start's input phase either
// takes it or refuses it with the input message, never crashes.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "app/controller.h"
#include "app/errors.h"
#include "app/memory_port.h"
#include "app/start.h"
#include "cli/options.h"
#include "sim/arith.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);
    std::vector<std::string_view> args;
    for (std::size_t start = 0, i = 0; i <= input.size(); ++i) {
        if (i < input.size() && input[i] != '\0') continue;
        args.emplace_back(input.data() + start, i - start);
        start = i + 1;
    }
    cli::Options opt;
    std::string error;
    if (cli::ParseOptions(args, opt, error) != cli::ParseResult::kOk) return 0;
    app::MemoryPort port;
    port.separator = opt.decimalComma ? ',' : '.';
    app::Controller form(port);
    form.Load();
    if (opt.preset == 2) form.Press(app::Button::Preset2);
    for (const auto& [field, value] : opt.fields) port.Text(field) = value;
    if (opt.twist) {
        port.Check(app::Box::Twist) = 1;
        port.Text(app::Field::Twist) = *opt.twist;
    }
    app::Record rec;
    try {
        app::StartFromFields(port, rec);
    } catch (const app::InputError&) {
    } catch (const sim::ArithmeticError&) {
    }
    return 0;
}
