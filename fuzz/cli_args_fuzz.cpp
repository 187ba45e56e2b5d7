// The headless runner's command line: the input is split into arguments at
// NUL bytes; whatever the parser accepts is put into the fields and read by
// Start's input phase, which either succeeds or refuses, never crashes.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "app/controller.h"
#include "app/memory_port.h"
#include "app/start.h"
#include "cli/options.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);
    std::vector<std::string_view> args;
    std::size_t start = 0;
    for (std::size_t i = 0; i <= input.size(); ++i) {
        if (i == input.size() || input[i] == '\0') {
            args.emplace_back(input.data() + start, i - start);
            start = i + 1;
        }
    }
    cli::Options opt;
    std::string error;
    if (cli::ParseOptions(args, opt, error) != cli::ParseResult::kOk) return 0;
    app::MemoryPort port;
    port.separator = opt.decimalComma ? ',' : '.';
    app::Controller form(port);
    form.Form_Load();
    if (opt.preset == 2) form.Command9_Click();
    for (const auto& [textNo, value] : opt.fields) port.text.at(static_cast<std::size_t>(textNo)) = value;
    if (opt.twist) {
        port.check[16] = 1;
        port.text[21] = *opt.twist;
    }
    sim::Model m;
    sim::SetConstants(m);
    try {
        app::StartFromFields(port, m);
    } catch (const std::runtime_error&) {
    }
    return 0;
}
