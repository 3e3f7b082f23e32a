#include "capacity/result_check.hpp"

#include <cmath>
#include <sstream>
#include <string>

#include "textio/input_error.hpp"

namespace pileaxial {

namespace {

constexpr const char* kMethodNames[kMethodCount] = {
    "FHWA method",     "USACE method", "Revised Lambda method", "API RP-2A (2010) method",
    "NGI method",      "ICP/MTD method", "Fugro 2004 method",   "UWA method",
    "user-specified method"};

std::string number(double value) {
    std::ostringstream text;
    text << value;
    return text.str();
}

std::string lengthUnit(const Run& run) { return run.pile.english() ? " ft" : " m"; }
std::string movementUnit(const Run& run) { return run.pile.english() ? " in." : " m"; }

// The message names the files the value came from, as every message about the input does.
[[noreturn]] void refuse(const Run& run, const std::string& what, const std::string& where) {
    std::string files = "\"" + run.files.inputName + "\"";
    if (!run.files.cptName.empty()) files += " or \"" + run.files.cptName + "\"";
    throw InputError(what + " that is not a finite number " + where + "; some input value in " + files +
                     " is far outside its range (a friction angle, an earth pressure coefficient K, a "
                     "strength, a unit weight or a t-z movement?)");
}

bool curveFinite(const TzCurve& curve) {
    for (int j = 0; j < kTzPointCount; ++j) {
        if (!std::isfinite(curve.t[j]) || !std::isfinite(curve.z[j])) return false;
    }
    return true;
}

}  // namespace

void CheckMethodCurvesFinite(const Run& run, int methodId) {
    const CapacityState& cap = run.capacity();
    const MethodCurves& c = cap.method[methodId];
    const struct {
        const NodeArray& values;
        const char* name;
    } quantities[] = {
        {c.SavedUnitSideFriction, "a unit side friction"},
        {c.SavedSkin, "a total skin friction"},
        {c.PrintedSkin, "a total skin friction"},
        {c.SavedUnfactoredEndBearing, "an end bearing"},
        {c.SavedEndBearing, "an end bearing"},
        {c.SavedUltimateCapacity, "an ultimate capacity"},
        {c.SavedPlugLength, "a plug length"},
    };
    for (int k = 1; k <= cap.pileNodeCount; ++k) {
        for (const auto& q : quantities) {
            if (std::isfinite(q.values[k])) continue;
            refuse(run, std::string("the ") + kMethodNames[methodId - 1] + " gives " + q.name,
                   "at a pile length of " + number((k - 1) * run.pile.lengthIncrement) + lengthUnit(run));
        }
    }
}

void CheckLoadSettlementFinite(const Run& run) {
    const LoadSettlementState& st = run.loadSettlement();
    const std::string what = "the load-settlement analysis gives ";
    for (int i = 1; i <= st.curveCount; ++i) {
        const TzCurve& curve = st.curves[i];
        if (curveFinite(curve)) continue;
        refuse(run, what + "a t-z curve", "at a depth of " + number(curve.depthBelowGround) + lengthUnit(run));
    }
    // The curves printed at the soil points are built as the solver's are, and are printed too.
    for (int i = 1; i <= st.printedCurveCount; ++i) {
        const TzCurve& curve = st.printedCurves[i];
        if (curveFinite(curve)) continue;
        refuse(run, what + "a t-z curve", "at a depth of " + number(curve.depthBelowGround) + lengthUnit(run));
    }
    for (int j = 0; j < kTzPointCount; ++j) {
        if (!std::isfinite(st.tipCurve.load[j]) || !std::isfinite(st.tipCurve.movement[j])) {
            refuse(run, what + "a tip load-movement curve", "(point " + std::to_string(j + 1) + ")");
        }
    }
    for (int i = 1; i <= st.pointCount; ++i) {
        const SettlementPoint& p = st.points[i];
        const std::string where = "at the assumed tip movement " + std::to_string(i) + " (" +
                                  number(p.tipMovement) + movementUnit(run) + ")";
        if (!std::isfinite(p.topLoad) || !std::isfinite(p.topMovement) || !std::isfinite(p.tipLoad) ||
            !std::isfinite(p.tipMovement)) {
            refuse(run, what + "a load or settlement", where);
        }
        for (int j = 1; j <= st.incrementCount; ++j) {
            const std::size_t at = static_cast<std::size_t>((i - 1) * st.incrementCount + j - 1);
            if (at >= st.loadDistribution.size()) break;
            const IncrementRecord& r = st.loadDistribution[at];
            if (!std::isfinite(r.averageLoad) || !std::isfinite(r.midpointMovement)) {
                refuse(run, what + "a load distribution", where);
            }
        }
    }
}

void CheckVerificationCurvesFinite(const Run& run) {
    const LoadSettlementState& st = run.loadSettlement();
    for (int i = 1; i <= st.verificationCount; ++i) {
        if (!st.verificationInside[i] || curveFinite(st.verificationCurves[i])) continue;
        refuse(run, "the load-settlement analysis gives a verification t-z curve",
               "at a depth of " + number(st.verificationCurves[i].depthBelowGround) + lengthUnit(run) +
                   " (record V1, depth " + std::to_string(i) + ")");
    }
}

}  // namespace pileaxial
