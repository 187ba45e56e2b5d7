// The runner's command line, split into arguments at NUL bytes: whatever
// the parser accepts either starts from the numbers the window's Start
// would read, to the bit, or is refused where the window refuses it;
// nothing crashes.
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/start.h"
#include "cli/options.h"
#include "sim/start.h"
#include "tests/support.h"

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
    std::optional<sim::Model> numbers, window;
    app::MemoryPort port;
    app::Controller form(port);
    cli::FillFields(port, form, opt);
    app::Record rec;
    try {
        const cli::StartNumbers n = cli::InputNumbers(opt);
        numbers = sim::Start(n.inputs, n.fi0);
    } catch (const std::runtime_error&) {  // the input or the set-up refused
    }
    try {
        app::StartFromFields(port, rec);
        window = rec.model;
    } catch (const std::runtime_error&) {
    }
    if (numbers.has_value() != window.has_value() || (numbers && !testing_support::SameStart(*numbers, *window)))
        std::abort();
    return 0;
}
