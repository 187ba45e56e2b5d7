// Command line of the headless runner.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "app/controller.h"
#include "app/controls.h"
#include "app/memory_port.h"
#include "sim/model.h"
#include "verify/sweep.h"

namespace cli {

struct Options {
    int preset = 1;
    std::vector<std::pair<app::Field, std::string>> fields;  // --set, in order
    std::optional<std::string> twist;                 // text of fi0
    long long cycles = 1;
    bool cycleOptions = false;      // --cycles, --final-only or --invariants given
    bool finalOnly = false;
    bool decimalComma = false;
    bool invariants = false;
    bool verify = false;
    std::optional<double> time;     // --time, simulated seconds for --verify
    bool csv = false;               // --format csv
    double injectedForceY0 = 0;     // --inject-lateral-force, N
    std::string plot;               // --plot FILE for --verify, --sweep or --plot-from, .png or .svg
    // --precision: the number type of --verify and --sweep; auto answers in
    // double where double can tell, in the wider type where it cannot.
    verify::PrecisionChoice precision = verify::PrecisionChoice::kAuto;
    bool precisionGiven = false;
    // --sweep NAME=FROM:TO: the swept inputs, and how each point runs.
    std::vector<verify::Axis> axes;
    std::optional<int> points;            // --points, along each axis (default 5)
    std::optional<double> stepsPerPeriod;  // --steps-per-period
    std::optional<long long> steps;       // --steps, of each point
    std::optional<int> jobs;              // --jobs (default: every core)
    int part = 1, parts = 1;              // --part K/N
    std::vector<std::string> plotFrom;    // --plot-from FILE...: saved sweep tables
    bool Sweeps() const { return !axes.empty(); }
};

enum class PlotFormat { kPng, kSvg };

// By the file name's suffix, .png or .svg in any case; nothing otherwise.
std::optional<PlotFormat> PlotFormatOf(std::string_view path);

enum class ParseResult { kOk, kHelp, kVersion, kUsageError, kBadValue };

// Fills opt; on kUsageError or kBadValue, error names the option at fault.
// Needs no QCoreApplication and no display.
ParseResult ParseOptions(const std::vector<std::string_view>& args, Options& opt, std::string& error);

std::string Usage();

// The field of an input by its runner name (m0, w0, h ...), if it is one.
std::optional<app::Field> InputField(std::string_view name);

// Loads the window in memory and fills its fields as the preset, --set and
// --twist say; the separator is the one the output is written with.
void FillFields(app::MemoryPort& port, app::Controller& form, const Options& opt);

// What the window's Start reads from the fields FillFields fills, as
// numbers: the preset's, with each --set and --twist text read by the
// window's own rules (the output's separator, or the other one where that
// cannot be a thousands group; NC0 rounded half to even and at least 1).
// Verifications and sweeps start from these. Raises app::InputError for a
// text that does not read.
struct StartNumbers {
    sim::Parameters inputs;  // of the motion
    double fi0 = 0;          // the twist, 0 without --twist
    std::int32_t NC0 = 1;    // steps per display cycle
};
StartNumbers InputNumbers(const Options& opt);

}  // namespace cli
