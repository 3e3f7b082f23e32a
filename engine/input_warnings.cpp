#include "engine/input_warnings.hpp"

#include <cmath>
#include <sstream>
#include <string>
#include <vector>

namespace pileaxial {

namespace {

// Input order of the methods (see PileModel::methodSelected).
constexpr int kUserInput = 5;
constexpr int kFirstConeInput = 6;
constexpr const char* kInputMethodNames[9] = {"FHWA", "USACE", "Revised Lambda", "API RP-2A (2010)",
                                              "the user-specified method", "NGI", "ICP/MTD", "Fugro 2004",
                                              "UWA"};

// Limits beyond which a value is far outside the range of soils and piles.
constexpr double kLargestFrictionAngle = 45.0;               // degrees
constexpr double kSmallestModulusEnglish = 1000.0;           // psi
constexpr double kSmallestModulusSi = 7000.0;                // kPa
constexpr double kLargestUnitWeightEnglish = 150.0;          // pcf
constexpr double kLargestUnitWeightSi = 24.0;                // kN/m^3

std::string number(double value) {
    std::ostringstream text;
    text << value;
    return text.str();
}

class Warnings {
public:
    explicit Warnings(const Run& run) : out_(run.errorStream()) {}
    void say(const std::string& text) { out_ << "pileaxial: warning: " << text << '\n'; }

private:
    std::ostream& out_;
};

// The soil points where a value is unusual, named as "soil point(s) 1, 4", and the largest such value.
struct PointList {
    std::vector<int> points;
    double extreme = 0;

    std::string str() const {
        std::string text = points.size() == 1 ? "soil point " : "soil points ";
        for (std::size_t i = 0; i < points.size(); ++i) text += (i ? ", " : "") + std::to_string(points[i]);
        return text;
    }
};

template <typename Unusual>
PointList pointsWhere(const Run& run, double SoilLayer::*field, Unusual unusual) {
    PointList list;
    for (int v = 1; v <= run.soil.count; ++v) {
        const double value = run.soil.point[v].*field;
        if (!unusual(value)) continue;
        if (list.points.empty() || value > list.extreme) list.extreme = value;
        list.points.push_back(v);
    }
    return list;
}

void warnAboutPileLength(const Run& run, Warnings& warn) {
    const PileModel& p = run.pile;
    const char* unit = p.english() ? "ft" : "m";
    const double ratio = p.embeddedLength / p.lengthIncrement;
    if (!std::isfinite(ratio) || ratio >= kMaxNodes) return;  // refused later
    // The node count truncates the ratio after adding the length tolerance; what is left is the
    // part of the pile below the last node, which no table shows.
    const double whole = std::floor(ratio + kLengthTolerance);
    if (ratio - whole <= kLengthTolerance) return;
    warn.say("the embedded pile length of " + number(p.embeddedLength) + " " + unit +
             " is not a whole number of increments of " + number(p.lengthIncrement) + " " + unit +
             " (record G4, field 2); the tables end at a pile length of " + number(whole * p.lengthIncrement) +
             " " + unit);
}

void warnAboutRanges(const Run& run, Warnings& warn) {
    const PileModel& p = run.pile;
    const bool english = p.english();

    const PointList steep =
        pointsWhere(run, &SoilLayer::frictionAngle, [](double v) { return v > kLargestFrictionAngle; });
    if (!steep.points.empty()) {
        warn.say("the friction angle at " + steep.str() + " is above 45 degrees (up to " + number(steep.extreme) +
                 "; record S1, field 5)");
    }

    const double smallest = english ? kSmallestModulusEnglish : kSmallestModulusSi;
    if (p.elasticModulus < smallest) {
        const std::string unit = english ? " psi" : " kPa";
        warn.say("the modulus of elasticity of the pile, " + number(p.elasticModulus) + unit + ", is below " +
                 number(smallest) + unit + " (record G2, field 5); is it given in" + unit + "?");
    }

    const double heaviest = english ? kLargestUnitWeightEnglish : kLargestUnitWeightSi;
    const PointList heavy =
        pointsWhere(run, &SoilLayer::effectiveUnitWeight, [heaviest](double v) { return v > heaviest; });
    if (!heavy.points.empty()) {
        const std::string unit = english ? " pcf" : " kN/m3";
        warn.say("the effective unit weight at " + heavy.str() + " is above " + number(heaviest) + unit +
                 " (up to " + number(heavy.extreme) + "; record S1, field 4)");
    }

    // A factor of 0 takes that part of the capacity away wherever it applies.
    const auto zero = [](double v) { return std::fabs(v) < kNotGivenTolerance; };
    const PointList noFriction = pointsWhere(run, &SoilLayer::lrfdFriction, zero);
    if (!noFriction.points.empty()) {
        warn.say("the LRFD factor on unit friction is 0 at " + noFriction.str() +
                 " (record S2, field 10): the side resistance there counts as 0");
    }
    const PointList noBearing = pointsWhere(run, &SoilLayer::lrfdBearing, zero);
    if (!noBearing.points.empty()) {
        warn.say("the LRFD factor on unit bearing is 0 at " + noBearing.str() +
                 " (record S2, field 11): the end bearing there counts as 0");
    }
}

void warnAboutMethods(const Run& run, Warnings& warn) {
    const PileModel& p = run.pile;
    bool userValues = false;
    for (int v = 1; v <= run.soil.count; ++v) {
        const SoilLayer& s = run.soil.point[v];
        if (s.userUnitFriction != 0.0 || s.userUnitBearing != 0.0) userValues = true;
    }
    const bool coneData = p.cptDataSwitch == 1;
    const std::string noUserValues =
        "no soil point gives a user unit friction or end bearing (record S2, fields 8 and 9)";
    const std::string noConeData = "the CPT-data switch (record G4, field 6) is not 1";

    if (p.methodSelected[kUserInput] == 1 && !userValues) {
        warn.say("the user-specified method is selected (record G5, field 5) but " + noUserValues +
                 ": it is not computed and its table is not printed");
    }
    std::vector<std::string> cone;
    for (int input = kFirstConeInput; input <= 9; ++input) {
        if (p.methodSelected[input] == 1 && !coneData) cone.push_back(kInputMethodNames[input - 1]);
    }
    if (!cone.empty()) {
        std::string names;
        for (std::size_t i = 0; i < cone.size(); ++i) {
            names += (i == 0 ? "" : i + 1 == cone.size() ? " and " : ", ") + cone[i];
        }
        warn.say(names + (cone.size() == 1 ? " is" : " are") + " selected (record G5) but " + noConeData +
                 ": the cone-based methods are not computed and their tables are not printed");
    }

    const int transfer = p.loadTransferMethod;
    const bool userTransfer = transfer == kUserInput && !userValues;
    const bool coneTransfer = transfer >= kFirstConeInput && transfer <= 9 && !coneData;
    if (userTransfer || coneTransfer) {
        warn.say(std::string(kInputMethodNames[transfer - 1]) +
                 " is the method for unit load transfers (record G4, field 5) but " +
                 (userTransfer ? noUserValues : noConeData) +
                 ": the load-settlement analysis gets no resistance from it (every load 0)");
    }
}

}  // namespace

void WarnAboutUnusualInput(const Run& run) {
    Warnings warn(run);
    warnAboutPileLength(run, warn);
    warnAboutRanges(run, warn);
    warnAboutMethods(run, warn);
}

}  // namespace pileaxial
