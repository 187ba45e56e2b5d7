// The runner's command line, split into arguments at NUL bytes: whatever
// the parser accepts goes into the fields as the runner puts it there, and
// Start's input phase either takes it or refuses it, never crashes.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "app/start.h"
#include "cli/options.h"

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
    app::Controller form(port);
    cli::FillFields(port, form, opt);
    app::Record rec;
    try {
        app::StartFromFields(port, rec);
    } catch (const std::runtime_error&) {  // the input or the set-up refused
    }
    return 0;
}
