#include "cli/sweep_report.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

#include "app/numtext.h"

namespace cli {
namespace {

using verify::Verdict;

std::string Num(double v, char sep) { return std::isfinite(v) ? app::FormatNumber(v, sep) : std::string("-"); }

// A saved table is a few bytes a point; more than this is not one.
constexpr std::uintmax_t kLargestTable = 64 << 20;

std::vector<std::string> Split(const std::string& line, char delim) {
    std::vector<std::string> cells;
    std::string cell;
    std::istringstream in(line);
    while (std::getline(in, cell, delim)) cells.push_back(cell);
    if (!line.empty() && line.back() == delim) cells.emplace_back();
    return cells;
}

// A number as the runner writes it, with either decimal separator; "-" for
// none.
double CellNumber(const std::string& text, char delim) {
    if (text == "-") return NAN;
    // A comma cannot be a decimal separator where it separates the cells.
    for (char sep : {'.', ','})
        if (sep != delim)
            if (auto v = app::ParseNumber(text, sep)) return *v;
    return NAN;
}

bool ReadTable(const std::string& path, std::vector<SweepRow>& rows, std::string& error) {
    namespace fs = std::filesystem;
    std::error_code ec;
    // A device or a FIFO would never end or never start: only a regular file.
    if (!fs::is_regular_file(path, ec)) {
        error = path + ": not a regular file";
        return false;
    }
    if (fs::file_size(path, ec) > kLargestTable || ec) {
        error = path + ": too large for a sweep table";
        return false;
    }
    std::ifstream in(path, std::ios::binary);
    std::string line;
    std::vector<std::string> header;
    char delim = '\t';
    std::size_t point = 0, fmrv = 0, bound = 0, status = 0;
    bool any = false;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty() || line[0] == '#') continue;
        if (header.empty()) {
            delim = line.find('\t') != std::string::npos ? '\t' : line.find(';') != std::string::npos ? ';' : ',';
            header = Split(line, delim);
            auto column = [&](const char* name) {
                return static_cast<std::size_t>(std::find(header.begin(), header.end(), name) - header.begin());
            };
            point = column("point"), fmrv = column("Fmrv"), bound = column("force_bound"), status = column("exit");
            if (std::max({point, fmrv, bound, status}) >= header.size()) {
                error = path + ": no sweep table (its header lacks point, Fmrv, force_bound or exit)";
                return false;
            }
            continue;
        }
        const std::vector<std::string> cells = Split(line, delim);
        if (cells.size() != header.size()) {
            // The TSV's closing line counts the answers; anything else is not a row.
            if (cells.size() == 1) continue;
            error = path + ": a row with " + std::to_string(cells.size()) + " cells under a header of " +
                    std::to_string(header.size());
            return false;
        }
        const double index = CellNumber(cells[point], delim), exit = CellNumber(cells[status], delim);
        if (!(index >= 1 && index == std::floor(index)) || !(exit >= 0 && exit <= 255)) {
            error = path + ": a row whose point or exit status is not a whole number";
            return false;
        }
        rows.push_back({static_cast<long long>(index), CellNumber(cells[fmrv], delim),
                        CellNumber(cells[bound], delim), static_cast<ExitStatus>(static_cast<int>(exit))});
        any = true;
    }
    if (!any) {
        error = path + ": no rows of a sweep table";
        return false;
    }
    return true;
}

}  // namespace

std::string PointVerdict(const verify::PointResult& p) {
    if (p.failed) return "the run failed";
    switch (p.verdict) {
        case Verdict::kNoLateralForce: return "no lateral force";
        case Verdict::kLateralForceActs: return "a lateral force acts";
        case Verdict::kLedgerBroken: return "the ledger does not hold";
        case Verdict::kNotConverged: return "inconclusive: not converged";
        case Verdict::kRoundingCreeps: return "inconclusive: rounding creeps";
        case Verdict::kNoLimit: return "inconclusive: no detection limit";
        case Verdict::kBelowDetection:
            return p.fmrv == 0 ? "inconclusive: no force is claimed" : "inconclusive: below the detection limit";
    }
    return "";
}

ExitStatus PointStatus(const verify::PointResult& p) {
    if (p.failed) return ExitStatus::kRunFailed;
    switch (p.verdict) {
        case Verdict::kNoLateralForce: return ExitStatus::kDone;
        case Verdict::kLateralForceActs:
        case Verdict::kLedgerBroken: return ExitStatus::kLedgerFails;
        default: return ExitStatus::kInconclusive;
    }
}

std::string SweepTable(const verify::Grid& grid, const std::vector<verify::PointResult>& points, char delim,
                       char sep) {
    std::string t = "point";
    for (const verify::Axis& a : grid.axes) (t += delim) += a.name;
    for (const char* name : {"h", "time", "steps", "Fmrv", "detection_limit", "claim_factor", "max_abs_Yc",
                             "force_bound", "verdict", "exit"})
        (t += delim) += name;
    t += '\n';
    for (const verify::PointResult& p : points) {
        t += std::to_string(p.index);
        for (double v : p.values) (t += delim) += Num(v, sep);
        const bool ran = !p.failed;
        const double time = p.scale.steps * p.scale.h;
        for (const std::string& cell :
             {Num(p.scale.h, sep), Num(time, sep), Num(p.scale.steps, sep), ran ? Num(p.fmrv, sep) : "-",
              ran ? Num(p.detectionLimit, sep) : "-", ran ? Num(p.claimFactor, sep) : "-",
              ran ? Num(p.maxAbsYc, sep) : "-", ran ? Num(p.forceBound, sep) : "-", PointVerdict(p),
              std::to_string(static_cast<int>(PointStatus(p)))})
            (t += delim) += cell;
        t += '\n';
    }
    return t;
}

std::vector<SweepRow> RowsOf(const std::vector<verify::PointResult>& points) {
    std::vector<SweepRow> rows;
    for (const verify::PointResult& p : points) rows.push_back({p.index, p.fmrv, p.forceBound, PointStatus(p)});
    return rows;
}

SweepCounts CountAnswers(const std::vector<SweepRow>& rows) {
    SweepCounts c;
    for (const SweepRow& r : rows) {
        ++c.points;
        switch (r.status) {
            case ExitStatus::kDone: ++c.noForce; break;
            case ExitStatus::kLedgerFails: ++c.acts; break;
            case ExitStatus::kRunFailed: ++c.failed; break;
            default: ++c.inconclusive; break;
        }
    }
    return c;
}

std::string SweepSummary(const SweepCounts& c) {
    return std::to_string(c.points) + " points: " + std::to_string(c.noForce) + " no lateral force, " +
           std::to_string(c.acts) + " a lateral force acts, " + std::to_string(c.inconclusive) +
           " inconclusive, " + std::to_string(c.failed) + " failed";
}

ExitStatus SweepStatus(const SweepCounts& c) {
    if (c.acts > 0) return ExitStatus::kLedgerFails;
    return c.noForce == c.points ? ExitStatus::kDone : ExitStatus::kInconclusive;
}

bool ReadSweepTables(const std::vector<std::string>& paths, std::vector<SweepRow>& rows, std::string& error) {
    rows.clear();
    for (const std::string& path : paths)
        if (!ReadTable(path, rows, error)) return false;
    std::stable_sort(rows.begin(), rows.end(), [](const SweepRow& a, const SweepRow& b) { return a.point < b.point; });
    const auto twice = std::adjacent_find(rows.begin(), rows.end(),
                                          [](const SweepRow& a, const SweepRow& b) { return a.point == b.point; });
    if (twice != rows.end()) {
        error = "point " + std::to_string(twice->point) + " is in the tables twice";
        return false;
    }
    return true;
}

}  // namespace cli
