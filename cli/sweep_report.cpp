#include "cli/sweep_report.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

#include "app/numtext.h"
#include "cli/verdicts.h"
#include "cli/verify_report.h"
#include "sim/model.h"

namespace cli {
namespace {

// A saved table is a few bytes a point; more than this is not one.
constexpr std::uintmax_t kLargestTable = 64 << 20;

// The first line of a table: "# sweep", the sweep's identity, and its part.
constexpr std::string_view kIdentityHead = "# sweep ", kPartTag = " part=";

// The shortest text that reads back as the same double, whatever the
// table's separators: two sweeps that differ in any bit differ here.
std::string Exact(double v) {
    char buf[32];
    return std::string(buf, std::to_chars(buf, buf + sizeof buf, v).ptr);
}

// The points of the grid a sweep's identity names: its points along each
// swept input (NAME=FROM:TO:SPACING), one factor per input; 0 if it names
// none.
long long GridSize(const std::string& identity) {
    std::istringstream words(identity);
    std::string word;
    int axes = 0;
    while (words >> word) {
        if (word.find(':') != std::string::npos) ++axes;
        if (!word.starts_with("points=")) continue;
        long long points = 0;
        const auto r = std::from_chars(word.data() + 7, word.data() + word.size(), points);
        if (r.ec != std::errc() || points < 1 || points > verify::kMostAxisPoints || axes < 1 || axes > 2) return 0;
        return axes == 1 ? points : points * points;
    }
    return 0;
}

// The first word in which two identities differ, "points=5 against points=9".
std::string FirstDifference(const std::string& a, const std::string& b) {
    std::istringstream wa(a), wb(b);
    std::string x, y;
    while (true) {
        const bool moreA = static_cast<bool>(wa >> x), moreB = static_cast<bool>(wb >> y);
        if (!moreA) x = "nothing";
        if (!moreB) y = "nothing";
        if (x != y || !moreA || !moreB) return x + " against " + y;
    }
}

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

// A header cell as a spreadsheet may have saved it: quoted, or after a
// byte-order mark.
std::string Unquoted(std::string cell) {
    if (cell.starts_with("\xEF\xBB\xBF")) cell.erase(0, 3);
    if (cell.size() >= 2 && cell.front() == '"' && cell.back() == '"') cell = cell.substr(1, cell.size() - 2);
    return cell;
}

bool ReadTable(const std::string& path, std::vector<SweepRow>& rows, std::string& header,
               std::vector<std::string>& axes, std::string& identity, std::string& error) {
    namespace fs = std::filesystem;
    std::error_code ec;
    const fs::file_status status = fs::status(path, ec);
    if (!fs::exists(status)) {
        error = path + ": no such file";
        return false;
    }
    // A device or a FIFO would never end or never start: only a regular file.
    if (!fs::is_regular_file(status)) {
        error = path + ": not a regular file";
        return false;
    }
    if (fs::file_size(path, ec) > kLargestTable || ec) {
        error = path + ": too large for a sweep table";
        return false;
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = path + ": cannot be read";
        return false;
    }
    std::string line;
    std::vector<std::string> names;
    char delim = '\t';
    std::size_t point = 0, fmrv = 0, bound = 0, exit = 0, precision = 0, h = 0, verdict = 0;
    auto bad = [&](const std::string& why) {
        error = path + ": " + why;
        return false;
    };
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        // A comment, as a spreadsheet may have saved it too; the sweep's
        // identity is all of its first line but the part.
        if (const std::string bare = Unquoted(line); bare.empty() || bare[0] == '#') {
            if (!bare.starts_with(kIdentityHead)) continue;
            const std::string id = bare.substr(kIdentityHead.size(), bare.rfind(kPartTag) - kIdentityHead.size());
            if (!identity.empty() && id != identity) return bad("it holds the lines of two sweeps");
            identity = id;
            continue;
        }
        if (names.empty()) {
            delim = line.find('\t') != std::string::npos ? '\t' : line.find(';') != std::string::npos ? ';' : ',';
            for (std::string& cell : Split(line, delim)) names.push_back(Unquoted(cell));
            auto column = [&](const char* name) {
                return static_cast<std::size_t>(std::find(names.begin(), names.end(), name) - names.begin());
            };
            point = column("point"), fmrv = column("Fmrv"), bound = column("force_bound"), exit = column("exit");
            precision = column("precision"), h = column("h"), verdict = column("verdict");
            if (std::max({point, fmrv, bound, exit, precision, h, verdict}) >= names.size() || point > h)
                return bad("no sweep table (its header lacks point, h, Fmrv, force_bound, precision, verdict or exit)");
            // The swept inputs lie between the point and its h.
            axes.assign(names.begin() + static_cast<std::ptrdiff_t>(point) + 1,
                        names.begin() + static_cast<std::ptrdiff_t>(h));
            header.clear();
            for (const std::string& n : names) header += n + ' ';
            continue;
        }
        const std::vector<std::string> cells = Split(line, delim);
        if (cells.size() != names.size())
            return bad("a row with " + std::to_string(cells.size()) + " cells under a header of " +
                       std::to_string(names.size()));
        const double index = CellNumber(cells[point], delim), status = CellNumber(cells[exit], delim);
        if (!(index >= 1 && index <= static_cast<double>(verify::kMostGridPoints) && index == std::floor(index)))
            return bad("a row whose point is not a whole number from 1 to " + std::to_string(verify::kMostGridPoints));
        // A point answers as a single verification does.
        if (!IsPointStatus(status))
            return bad("a row whose exit status is not one a point has (" + PointStatuses() + ")");
        const double f = CellNumber(cells[fmrv], delim), b = CellNumber(cells[bound], delim);
        if ((std::isnan(f) && cells[fmrv] != "-") || (std::isnan(b) && cells[bound] != "-"))
            return bad("a row whose Fmrv or force_bound is not a number");
        std::vector<double> values;
        for (std::size_t k = point + 1; k < h; ++k) values.push_back(CellNumber(cells[k], delim));
        verify::Precision answered = verify::Precision::kDouble;
        if (cells[precision] == verify::PrecisionName(verify::Precision::kExtended))
            answered = verify::Precision::kExtended;
        else if (cells[precision] != verify::PrecisionName(verify::Precision::kDouble))
            return bad("a row whose precision is neither " + std::string(verify::PrecisionName(verify::Precision::kDouble)) +
                       " nor " + verify::PrecisionName(verify::Precision::kExtended));
        rows.push_back({static_cast<long long>(index), std::move(values), f, b,
                        static_cast<ExitStatus>(static_cast<int>(status)), answered,
                        cells[verdict] == RowOf(verify::Verdict::kNotConverged).word});
    }
    if (in.bad()) return bad("cannot be read");
    if (names.empty()) return bad("no sweep table (no header)");
    return true;
}

}  // namespace

std::string SweepIdentityLine(const verify::Grid& grid, const verify::Scaling& scaling, const sim::Parameters& inputs,
                              double fi0, double injectedForceY0, verify::PrecisionChoice precision) {
    std::string line(kIdentityHead);
    for (const verify::Axis& a : grid.axes)
        line += a.name + '=' + Exact(a.from) + ':' + Exact(a.to) + (a.log ? ":log " : ":lin ");
    line += "points=" + std::to_string(grid.points);
    // The inputs every point shares; the h of the inputs only where the
    // points run at it.
    for (const sim::ParameterRow& row : sim::kParameters) {
        const bool swept = std::any_of(grid.axes.begin(), grid.axes.end(),
                                       [&](const verify::Axis& a) { return a.name == row.symbol; });
        if (!swept && (row.symbol != "h" || scaling.inputsH))
            ((line += ' ') += row.symbol) += '=' + Exact(inputs.*row.value);
    }
    line += " twist=" + Exact(fi0);
    if (!scaling.inputsH) line += " steps-per-period=" + Exact(scaling.stepsPerPeriod);
    line += scaling.fixedTime > 0 ? " time=" + Exact(scaling.fixedTime) : " steps=" + std::to_string(scaling.steps);
    line += " inject-lateral-force=" + Exact(injectedForceY0);
    // Parts run in different precisions answer differently.
    line += precision == verify::PrecisionChoice::kAuto     ? " precision=auto"
            : precision == verify::PrecisionChoice::kDouble ? " precision=double"
                                                            : " precision=extended";
    return line + std::string(kPartTag) + std::to_string(grid.part) + '/' + std::to_string(grid.parts) + '\n';
}

std::string SweepTable(const verify::Grid& grid, const std::vector<verify::PointResult>& points, char delim,
                       char sep) {
    std::string t = "point";
    for (const verify::Axis& a : grid.axes) (t += delim) += a.name;
    for (const char* name : {"h", "time", "steps", "Fmrv", "detection_limit", "claim_factor", "max_abs_Yc",
                             "force_bound", "precision", "verdict", "exit"})
        (t += delim) += name;
    t += '\n';
    for (const verify::PointResult& p : points) {
        t += std::to_string(p.index);
        for (double v : p.values) (t += delim) += Num(v, sep);
        const double time = p.scale.steps * p.scale.h;
        const VerdictRow& verdict = RowOf(p.verdict);
        for (const std::string& cell :
             {Num(p.scale.h, sep), Num(time, sep), Num(p.scale.steps, sep), Num(p.fmrv, sep),
              Num(p.detectionLimit, sep), Num(p.claimFactor, sep), Num(p.maxAbsYc, sep), Num(p.forceBound, sep),
              std::string(verify::PrecisionName(p.precision)), std::string(verdict.word), std::to_string(static_cast<int>(verdict.status))})
            (t += delim) += cell;
        t += '\n';
    }
    return t;
}

std::vector<SweepRow> RowsOf(const std::vector<verify::PointResult>& points) {
    std::vector<SweepRow> rows;
    for (const verify::PointResult& p : points)
        rows.push_back({p.index, p.values, p.fmrv, p.forceBound, RowOf(p.verdict).status, p.precision,
                        p.verdict == verify::Verdict::kNotConverged});
    return rows;
}

SweepCounts CountAnswers(const std::vector<SweepRow>& rows) {
    SweepCounts c;
    for (const SweepRow& r : rows) {
        ++c.points;
        switch (r.status) {
            case ExitStatus::kDone: ++c.noForce; break;
            case ExitStatus::kLedgerFails: ++c.acts; break;  // a force, or a ledger that fails
            case ExitStatus::kRunFailed: ++c.failed; break;
            default: ++c.inconclusive; break;
        }
    }
    return c;
}

std::string SweepSummary(const SweepCounts& c) {
    return std::to_string(c.points) + (c.points == 1 ? " point: " : " points: ") + std::to_string(c.noForce) +
           " no lateral force, " + std::to_string(c.acts) + " a lateral force acts, " +
           std::to_string(c.inconclusive) + " inconclusive, " + std::to_string(c.failed) + " failed";
}

ExitStatus SweepStatus(const SweepCounts& c) {
    if (c.acts > 0) return ExitStatus::kLedgerFails;
    if (c.points > 0 && c.noForce == c.points) return ExitStatus::kDone;
    // Every run stopped on an error: the sweep did too.
    if (c.points > 0 && c.failed == c.points) return ExitStatus::kRunFailed;
    return ExitStatus::kInconclusive;
}

bool ReadSweepTables(const std::vector<std::string>& paths, std::vector<SweepRow>& rows,
                     std::vector<std::string>& axes, long long& gridSize, std::string& error) {
    rows.clear();
    std::string first, firstIdentity;
    for (const std::string& path : paths) {
        std::string header, identity;
        if (!ReadTable(path, rows, header, axes, identity, error)) return false;
        // Only its identity tells that a table is a part of a sweep.
        if (identity.empty() && paths.size() > 1) {
            error = path + ": no \"" + std::string(kIdentityHead) +
                    "...\" line tells which sweep it is a part of; such a table is drawn alone";
            return false;
        }
        if (&path == &paths.front()) first = header, firstIdentity = identity;
        if (identity != firstIdentity) {
            error = path + " is a part of another sweep than " + paths.front() + " (" +
                    FirstDifference(identity, firstIdentity) + ")";
            return false;
        }
        // Parts of one sweep have one header: the same swept inputs.
        if (header != first) {
            error = path + ": its columns are not those of " + paths.front() + ", so it is not a part of that sweep";
            return false;
        }
    }
    if (rows.empty()) {
        error = "the tables hold no rows";
        return false;
    }
    std::stable_sort(rows.begin(), rows.end(), [](const SweepRow& a, const SweepRow& b) { return a.point < b.point; });
    const auto twice = std::adjacent_find(rows.begin(), rows.end(),
                                          [](const SweepRow& a, const SweepRow& b) { return a.point == b.point; });
    if (twice != rows.end()) {
        error = "point " + std::to_string(twice->point) + " is in the tables twice";
        return false;
    }
    gridSize = GridSize(firstIdentity);
    if (!firstIdentity.empty() && rows.back().point > gridSize) {
        error = "point " + std::to_string(rows.back().point) + " is not one of the " + std::to_string(gridSize) +
                " points of the sweep its table names";
        return false;
    }
    return true;
}

}  // namespace cli
