#pragma once
// What every finished run must satisfy, whatever its input: the whole-run fuzz target aborts when one
// of these breaks, and the regression test replays the inputs that once broke one.
//
//   - the status is 0 (completed), 1 (stopped) or 2 (fault);
//   - a fault has a message, and it names the input data file or the CPT data file, so the engineer
//     knows which file to open; an internal error (an index outside its array, an unexpected
//     exception) is never an acceptable answer to an input;
//   - a completed run holds only finite numbers in every curve that reaches its output: the curves of
//     every printed method and of the method the load-settlement analysis works from, the t-z and tip
//     curves, the load-settlement points and load distributions, the printed and the verification t-z
//     curves;
//   - in a completed run's capacity tables a field of asterisks stands only for a value too wide for
//     its field, never for a small one or one that is not a number;
//   - the plot-data text of a completed run spells no "nan" or "inf".
#include <cmath>
#include <cstddef>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "engine/run.hpp"

namespace pileaxial::fuzzing {

namespace detail {

inline std::string shown(double value) {
    std::ostringstream text;
    text.precision(17);
    text << value;
    return text.str();
}

// True when Fw.d cannot show `value`: it needs a sign (when negative), its integer digits (none below
// 1: the leading zero may be dropped), the point and d decimals.  The limits are those of the rounded
// value, with a relative margin for values right at the edge of a field.
inline bool tooWideForF(double value, int width, int decimals) {
    if (!std::isfinite(value)) return false;  // never acceptable behind asterisks
    const int sign = value < 0 ? 1 : 0;
    const int integerDigits = width - 1 - decimals - sign;
    const double limit = std::pow(10.0, integerDigits) - 0.5 * std::pow(10.0, -decimals);
    return std::fabs(value) >= limit * (1 - 1e-12);
}

inline bool hasStar(std::string_view field) { return field.find('*') != std::string_view::npos; }

inline std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> out;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) out.push_back(line);
    return out;
}

inline std::string trimmed(const std::string& line) {
    const std::size_t first = line.find_first_not_of(' ');
    if (first == std::string::npos) return {};
    const std::size_t last = line.find_last_not_of(' ');
    return line.substr(first, last - first + 1);
}

// The banner titles of the capacity tables, by method number inside the computation.
inline constexpr const char* kTableTitles[kMethodCount] = {
    "*  FED. HWY. METHOD  *",
    "* ARMY CORPS METHOD  *",
    "*  LAMBDA 2 METHOD   *",
    "*  API RP-2A (2010)  *",
    "*  NORWEIGIAN GEOTECHNICAL INSTITUTE (NGI) METHOD  *",
    "*  IMPERIAL COLLEGE (MTD) METHOD  *",
    "*    FUGRO 2004 (FUGRO) METHOD    *",
    "*  UNIV. OF WESTERN AUSTRALIA (UWA) METHOD  *",
    "* GENERAL METHOD *",
};

inline std::string checkFinite(const Run& run) {
    const CapacityState& cap = run.capacity();
    for (int m = 1; m <= kMethodCount; ++m) {
        const MethodCurves& c = cap.method[m];
        // A method is computed whatever its switch, but only a printed one or the one the
        // load-settlement analysis works from reaches the output.
        const bool printed = run.pile.methodSelected[InputOrderOf(m)] == 1;
        const bool handedOver = run.pile.loadTransferMethod >= 1 && run.pile.loadTransferMethod <= kMethodCount &&
                                MethodIdOfInput(run.pile.loadTransferMethod) == m;
        if (!c.computed || !(printed || handedOver)) continue;
        const NodeArray* arrays[] = {&c.SavedSkin,          &c.PrintedSkin,     &c.SavedEndBearing,
                                     &c.SavedUnfactoredEndBearing, &c.SavedUnitSideFriction,
                                     &c.SavedPlugLength,    &c.SavedUltimateCapacity};
        for (const NodeArray* a : arrays) {
            for (int k = 1; k <= cap.pileNodeCount; ++k) {
                if (!std::isfinite((*a)[k])) {
                    return "method " + std::to_string(m) + " keeps a value that is not finite at node " +
                           std::to_string(k);
                }
            }
        }
    }
    const LoadSettlementState& st = run.loadSettlement();
    const auto curveFinite = [](const TzCurve& c) {
        for (int j = 0; j < kTzPointCount; ++j) {
            if (!std::isfinite(c.t[static_cast<std::size_t>(j)]) || !std::isfinite(c.z[static_cast<std::size_t>(j)]))
                return false;
        }
        return std::isfinite(c.tMax) && std::isfinite(c.depthBelowGround) && std::isfinite(c.depthFromHead);
    };
    for (int i = 1; i <= st.curveCount; ++i) {
        if (!curveFinite(st.curves[i])) return "t-z curve " + std::to_string(i) + " is not finite";
    }
    for (int i = 1; i <= st.printedCurveCount; ++i) {
        if (!curveFinite(st.printedCurves[i])) return "printed t-z curve " + std::to_string(i) + " is not finite";
    }
    for (int i = 1; i <= st.verificationCount; ++i) {
        if (st.verificationInside[i] && !curveFinite(st.verificationCurves[i])) {
            return "verification t-z curve " + std::to_string(i) + " is not finite";
        }
    }
    for (int j = 0; j < kTzPointCount; ++j) {
        const auto at = static_cast<std::size_t>(j);
        if (!std::isfinite(st.tipCurve.load[at]) || !std::isfinite(st.tipCurve.movement[at])) {
            return "the tip curve is not finite";
        }
    }
    for (int i = 1; i <= st.pointCount; ++i) {
        const SettlementPoint& p = st.points[i];
        if (!std::isfinite(p.topLoad) || !std::isfinite(p.topMovement) || !std::isfinite(p.tipLoad) ||
            !std::isfinite(p.tipMovement)) {
            return "load-settlement point " + std::to_string(i) + " is not finite";
        }
    }
    for (const IncrementRecord& r : st.loadDistribution) {
        if (!std::isfinite(r.midpointDistance) || !std::isfinite(r.averageLoad) ||
            !std::isfinite(r.midpointMovement)) {
            return "a load distribution is not finite";
        }
    }
    return {};
}

// Every capacity table of the report, row by row against the curves it was printed from.
inline std::string checkCapacityRows(const Run& run, const std::string& report) {
    const CapacityState& cap = run.capacity();
    const std::vector<std::string> text = lines(report);
    std::vector<int> printedNodes;
    for (int k = 1; k <= cap.pileNodeCount; ++k) {
        if (k == cap.pileNodeCount || (k - 1) % run.pile.printInterval == 0) printedNodes.push_back(k);
    }
    for (std::size_t i = 0; i < text.size(); ++i) {
        int methodId = 0;
        const std::string title = trimmed(text[i]);
        for (int m = 1; m <= kMethodCount; ++m) {
            if (title == kTableTitles[m - 1]) methodId = m;
        }
        if (methodId == 0) continue;
        if (i + 6 > text.size()) return "a capacity table ends inside its heading";
        const bool depth = text[i + 3].find("DEPTH") != std::string::npos;
        const bool plug = text[i + 3].find("PLUG") != std::string::npos;
        const MethodCurves& c = cap.method[methodId];
        std::size_t row = 0;
        // The rows run to the first line that is not one: a blank line, or a message a method writes
        // right after its table (such as one about a missing plasticity index).
        // A row starts with its pile length in columns 12 to 18, which always ends in a digit or '*'.
        const auto isRow = [](const std::string& line) {
            const std::size_t first = line.find_first_not_of(' ');
            return line.size() >= 18 && first >= 11 && first < 18 && line[17] != ' ';
        };
        for (std::size_t r = i + 6; r < text.size() && isRow(text[r]); ++r, ++row) {
            if (row >= printedNodes.size()) {
                return "capacity table of method " + std::to_string(methodId) + " has more rows than printed nodes";
            }
            const int k = printedNodes[row];
            const std::string& line = text[r];
            struct Field {
                int width, decimals;
                double value;
            };
            std::vector<Field> fields = {{7, 2, cap.PileLength[k]}};
            if (depth) fields.push_back({7, 2, cap.PileLength[k] * std::cos(run.pile.batterAngle)});
            fields.push_back({8, 1, c.PrintedSkin[k]});
            fields.push_back({8, 1, c.SavedEndBearing[k]});
            fields.push_back({9, 1, c.SavedUltimateCapacity[k]});
            if (plug) fields.push_back({9, 2, c.SavedPlugLength[k]});
            // Columns: 11 blanks, then each field after its gap (6 before the depth, skin friction and
            // end bearing; the ultimate capacity after 4, or after the plug mark and 3; the plug length
            // after 3).
            std::size_t pos = 11;
            for (std::size_t f = 0; f < fields.size(); ++f) {
                if (f > 0) {
                    const bool ultimate = f == fields.size() - (plug ? 2 : 1);
                    const bool plugLength = plug && f == fields.size() - 1;
                    pos += ultimate ? 4 : plugLength ? 3 : 6;
                }
                const auto width = static_cast<std::size_t>(fields[f].width);
                if (pos + width > line.size()) {
                    return "capacity row too short in the table of method " + std::to_string(methodId) + ": " + line;
                }
                const std::string_view field = std::string_view(line).substr(pos, width);
                if (hasStar(field) && !tooWideForF(fields[f].value, fields[f].width, fields[f].decimals)) {
                    return "a field of asterisks hides the value " + shown(fields[f].value) +
                           " in the table of method " + std::to_string(methodId) + ": " + line;
                }
                pos += width;
            }
        }
        if (row != printedNodes.size()) {
            return "capacity table of method " + std::to_string(methodId) + " has " + std::to_string(row) +
                   " rows for " + std::to_string(printedNodes.size()) + " printed nodes";
        }
    }
    return {};
}

}  // namespace detail

// The first invariant the finished run breaks, or an empty string.
inline std::string BrokenRunInvariant(const Run& run) {
    if (run.status != kStatusCompleted && run.status != kStatusStopped && run.status != kStatusFault) {
        return "status " + std::to_string(run.status);
    }
    if (run.status == kStatusFault) {
        const std::string& message = run.faultMessage;
        if (message.empty()) return "a fault without a message";
        if (message.rfind("internal error", 0) == 0) return "an internal error: " + message;
        const bool namesInput = !run.files.inputName.empty() && message.find(run.files.inputName) != std::string::npos;
        const bool namesCpt = !run.files.cptName.empty() && message.find(run.files.cptName) != std::string::npos;
        if (!namesInput && !namesCpt) return "a fault message that names no file: " + message;
        return {};
    }
    if (run.status != kStatusCompleted) return {};
    if (std::string problem = detail::checkFinite(run); !problem.empty()) return problem;
    if (std::string problem = detail::checkCapacityRows(run, run.reportText()); !problem.empty()) return problem;
    const std::string plot = run.plotText();
    for (const char* word : {"nan", "NaN", "NAN", "inf", "Inf", "INF"}) {
        if (plot.find(word) != std::string::npos) return std::string("the plot data spell \"") + word + "\"";
    }
    return {};
}

}  // namespace pileaxial::fuzzing
