// The runner's command line, split into arguments at NUL bytes: whatever
// the parser accepts either starts or is refused, never crashes, and the
// numbers a verification starts from are the window's, to the bit: the
// same texts in the fields of a window in memory, read by its Start, give
// the same model, or the same refusal.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/start.h"
#include "cli/options.h"
#include "sim/start.h"

namespace {

// Parameters, derived values and start state: what a start forms.
bool SameStart(const sim::Model& a, const sim::Model& b) {
    return std::memcmp(&a.p, &b.p, sizeof a.p) == 0 && std::memcmp(&a.start, &b.start, sizeof a.start) == 0 &&
           std::memcmp(&a.s, &b.s, sizeof a.s) == 0;
}

}  // namespace

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

    std::optional<sim::Model> fromNumbers;
    try {
        const cli::StartNumbers n = cli::InputNumbers(opt);
        fromNumbers = sim::Start(n.inputs, n.fi0);
    } catch (const std::runtime_error&) {  // the input or the set-up refused
    }
    app::MemoryPort port;
    app::Controller form(port);
    cli::FillFields(port, form, opt);
    app::Record rec;
    std::optional<sim::Model> fromFields;
    try {
        app::StartFromFields(port, rec);
        fromFields = rec.model;
    } catch (const std::runtime_error&) {
    }
    if (fromNumbers.has_value() != fromFields.has_value() ||
        (fromNumbers && !SameStart(*fromNumbers, *fromFields)))
        std::abort();
    return 0;
}
