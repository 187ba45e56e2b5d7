// Command line of the headless runner.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "app/controller.h"
#include "app/controls.h"
#include "app/memory_port.h"

namespace cli {

struct Options {
    int preset = 1;
    std::vector<std::pair<app::Field, std::string>> fields;  // --set, in order
    std::optional<std::string> twist;                 // text of fi0
    long long cycles = 1;
    bool finalOnly = false;
    bool decimalComma = false;
    bool invariants = false;
    bool verify = false;
    std::optional<double> time;     // --time, simulated seconds for --verify
    bool csv = false;               // --format csv
    double injectedForceY0 = 0;     // --inject-lateral-force, N
    std::string plot;               // --plot FILE for --verify, .png or .svg
};

enum class PlotFormat { kPng, kSvg };

// By the file name's suffix, .png or .svg in any case; nothing otherwise.
std::optional<PlotFormat> PlotFormatOf(std::string_view path);

enum class ParseResult { kOk, kHelp, kVersion, kUsageError, kBadValue };

// Fills opt; on kUsageError or kBadValue, error names the option at fault.
// Needs no QCoreApplication and no display.
ParseResult ParseOptions(const std::vector<std::string_view>& args, Options& opt, std::string& error);

extern const char* const kUsage;

// Loads the window in memory and fills its fields as the preset, --set and
// --twist say; the separator is the one the output is written with.
void FillFields(app::MemoryPort& port, app::Controller& form, const Options& opt);

}  // namespace cli
