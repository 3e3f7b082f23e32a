#include "output/json_results.hpp"

#include <array>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>

#include "capacity/tables.hpp"

namespace pileaxial::output {

namespace {

using nlohmann::json;

// Method names in input order (the order of the method switches and of the method for unit load
// transfers).
constexpr std::array<const char*, kMethodCount> kInputMethodNames = {
    "FHWA", "USACE", "Revised Lambda", "API RP-2A (2010)", "user-specified", "NGI", "ICP/MTD", "Fugro 2004", "UWA"};

constexpr std::array<const char*, 7> kPileTypeNames = {
    "steel pipe",      "timber",   "precast concrete", "step-taper",
    "uniform taper",   "H-pile or other steel section", "tapered part of a monotube"};

const char* methodName(int inputNumber) {
    if (inputNumber < 1 || inputNumber > kMethodCount) return "";
    return kInputMethodNames[static_cast<std::size_t>(inputNumber - 1)];
}

const char* statusName(int status) {
    switch (status) {
        case kStatusCompleted: return "completed";
        case kStatusStopped: return "stopped";
        default: return "fault";
    }
}

// The report's units of one unit system.
struct Units {
    const char* length;      // pile lengths and depths
    const char* diameter;
    const char* force;
    const char* stress;      // stresses after reading, unit side friction, capacity-table stresses
    const char* readStress;  // cone values and user unit values, as read
    const char* unitWeight;
    const char* area;
    const char* modulus;
    const char* movementInput;  // t-z and tip movements given per soil point
    const char* movement;       // movements of the load-settlement analysis
    const char* transfer;       // unit load transfer t
    const char* headDepth;      // depth of a solver curve below the pile head
};

Units unitsOf(const Run& run) {
    if (run.pile.english()) return {"ft", "in", "kip", "ksf", "psf", "pcf", "in2", "psi", "in", "in", "psi", "in"};
    return {"m", "mm", "kN", "kPa", "kPa", "kN/m3", "m2", "kPa", "mm", "m", "kPa", "m"};
}

json seriesOf(const double* values, std::size_t count) { return json(std::vector<double>(values, values + count)); }

json titlesOf(const Run& run) {
    return {{"title", run.title}, {"designer", run.designer}, {"jobNumber", run.jobNumber}};
}

json pileOf(const Run& run, const Units& u) {
    const PileModel& p = run.pile;
    json pile = {
        {"type", p.pileType},
        {"typeName", p.pileType >= 1 && p.pileType <= 7 ? kPileTypeNames[static_cast<std::size_t>(p.pileType - 1)] : ""},
        {"tipClosure", p.tipClosure == 1 ? "closed" : "open"},
        {"perimeter", p.perimeter},
        {"outsideDiameter", p.outsideDiameterAsRead},
        {"equivalentOutsideDiameter", p.outsideDiameter},
        {"insideDiameter", p.insideDiameter},
        {"crossSectionArea", p.crossSectionAreaAsRead},
        {"modulusOfElasticity", p.elasticModulus},
        {"totalLength", p.totalLengthAsRead},
        {"stickup", p.stickupLength},
        {"embeddedLength", p.embeddedLength},
        {"enhancedEndLength", p.enhancedEndLength},
        {"enhancedEndInsideDiameter", p.enhancedEndDiameter},
        {"batterAngle", p.batterAngleAsRead},
        {"taperAngle", p.taperAngle},
        {"zeroFrictionLength", p.zeroFrictionLength},
        {"uniformArea", p.uniformArea},
    };
    pile["units"] = {
        {"perimeter", u.diameter},
        {"outsideDiameter", u.diameter},
        {"equivalentOutsideDiameter", u.diameter},
        {"insideDiameter", u.diameter},
        {"crossSectionArea", u.area},
        {"modulusOfElasticity", u.modulus},
        {"totalLength", u.length},
        {"stickup", u.length},
        {"embeddedLength", u.length},
        {"enhancedEndLength", u.length},
        {"enhancedEndInsideDiameter", u.diameter},
        {"batterAngle", "deg"},
        {"taperAngle", "deg"},
        {"zeroFrictionLength", u.length},
        {"uniformArea", u.area},
    };
    json rows = json::array();
    for (int i = 1; i <= std::min(p.areaCount, kMaxAreaRows); ++i) {
        rows.push_back({{"distanceFromHead", p.areaDistance[i]}, {"area", p.areaValue[i]}});
    }
    pile["areaTable"] = {{"mode", p.areaMode},
                         {"rows", rows},
                         {"units", {{"distanceFromHead", u.length}, {"area", u.area}}}};
    return pile;
}

json optionsOf(const Run& run, const Units& u) {
    const PileModel& p = run.pile;
    json selected = json::array();
    json switches = json::object();
    for (int i = 1; i <= kMethodCount; ++i) {
        switches[methodName(i)] = p.methodSelected[i] == 1;
        if (p.methodSelected[i] == 1) selected.push_back(methodName(i));
    }
    static constexpr std::array<const char*, 3> kPlug = {"computed", "plugged", "unplugged"};
    static constexpr std::array<const char*, 3> kCritical = {"by diameter and friction angle",
                                                            "where the effective stress reaches the limit",
                                                            "given"};
    const bool plugKnown = p.plugOption >= 0 && p.plugOption <= 2;
    const bool criticalKnown = p.criticalDepthOption >= 0 && p.criticalDepthOption <= 2;
    return {
        {"loading", p.tensionLoading == 1 ? "tension" : "compression"},
        {"tensionReductionFactor", p.tensionReductionFactor},
        {"reducedSideFrictionReported", p.reducedSideFriction == 1},
        {"printInterval", p.printInterval},
        {"lengthIncrement", p.lengthIncrement},
        {"deepestSoilDepth", p.deepestSoilDepth},
        {"cptData", p.cptDataSwitch == 1},
        {"icpClayCondition", p.clayDrained == 1 ? "drained" : "undrained"},
        {"plugMode", p.plugOption},
        {"plugModeName", plugKnown ? kPlug[static_cast<std::size_t>(p.plugOption)] : ""},
        {"usaceLongPile", p.longPileOption == 1},
        {"areaMode", p.areaMode},
        {"criticalDepthMode", p.criticalDepthOption},
        {"criticalDepthModeName", criticalKnown ? kCritical[static_cast<std::size_t>(p.criticalDepthOption)] : ""},
        {"criticalDepth", p.criticalDepthOption == 2 ? json(p.userCriticalDepth) : json(nullptr)},
        {"methodSwitches", switches},
        {"methodsSelected", selected},
        {"loadTransferMethod", methodName(p.loadTransferMethod)},
        {"loadTransferMethodNumber", p.loadTransferMethod},
        {"units", {{"lengthIncrement", u.length}, {"deepestSoilDepth", u.length}, {"criticalDepth", u.length}}},
    };
}

json soilOf(const Run& run, const Units& u) {
    const bool english = run.pile.english();
    json points = json::array();
    for (int v = 1; v <= std::min(run.soil.count, kMaxSoilPoints); ++v) {
        const SoilLayer& s = run.soil.point[v];
        const auto limit = [](double value) { return value >= kNoLimit ? json(nullptr) : json(value); };
        points.push_back({
            {"depth", s.depth},
            {"soilType", static_cast<int>(s.soilType)},
            {"soilTypeName", s.soilType == 1 ? "sand" : s.soilType == 2 ? "clay" : "silt"},
            {"earthPressureCoefficient", s.earthPressureCoeff},
            {"effectiveUnitWeight", s.effectiveUnitWeight},
            {"frictionAngle", s.frictionAngle},
            {"bearingCapacityFactor", s.bearingFactor},
            {"maxUnitFriction", limit(s.maxUnitFriction)},
            {"maxUnitBearing", limit(s.maxUnitBearing)},
            {"undrainedShearStrength", s.undrainedShearStrength},
            {"remoldedShearStrength", s.remoldedShearStrength},
            {"blowCount", s.blowCount},
            {"plasticityIndex", s.plasticityIndex},
            {"coneResistance", s.coneResistance},
            {"userUnitSideFriction", s.userUnitFriction},
            {"userUnitEndBearing", s.userUnitBearing},
            {"lrfdFactorFriction", s.lrfdFriction},
            {"lrfdFactorBearing", s.lrfdBearing},
            {"adhesionCaseOrTipFailureMovement", s.tipOrCaseValueAsRead},
            {"peakMovement", s.peakMovement},
            {"residualRatio", s.residualRatio},
        });
    }
    const json units = {
        {"depth", u.length},
        {"earthPressureCoefficient", "-"},
        {"effectiveUnitWeight", u.unitWeight},
        {"frictionAngle", "deg"},
        {"bearingCapacityFactor", "-"},
        {"maxUnitFriction", u.stress},
        {"maxUnitBearing", u.stress},
        {"undrainedShearStrength", u.stress},
        {"remoldedShearStrength", u.stress},
        {"blowCount", "-"},
        {"plasticityIndex", "%"},
        {"coneResistance", u.readStress},
        {"userUnitSideFriction", u.readStress},
        {"userUnitEndBearing", u.readStress},
        {"lrfdFactorFriction", "-"},
        {"lrfdFactorBearing", "-"},
        {"adhesionCaseOrTipFailureMovement", u.movementInput},
        // Kept after reading: inches in English units, metres in SI.
        {"peakMovement", english ? "in" : "m"},
        {"residualRatio", "-"},
    };
    return {{"units", units},
            {"points", points},
            {"waterTableDepth", run.soil.waterTableDepth >= kNoWaterTable ? json(nullptr) : json(run.soil.waterTableDepth)}};
}

json cptOf(const Run& run, const Units& u) {
    json depth = json::array(), value = json::array();
    for (int i = 1; i <= std::min(run.cpt.cptPointCount, kMaxCptPoints); ++i) {
        depth.push_back(run.cpt.cptDepth[i]);
        value.push_back(run.cpt.cptValue[i]);
    }
    return {{"pointCount", run.cpt.cptPointCount},
            {"depth", {{"unit", u.length}, {"values", depth}}},
            {"coneResistance", {{"unit", u.readStress}, {"values", value}}}};
}

json settlementInputOf(const Run& run, const Units& u) {
    const SettlementInput& in = run.settlement;
    const bool english = run.pile.english();
    json depths = json::array();
    for (int i = 1; i <= std::min(in.verificationCount, kMaxVerificationDepths); ++i) depths.push_back(in.verificationDepth[i]);
    json rows = json::array();
    if (in.tzTableSwitch == 1 && in.tzRowCount >= 2) {
        for (int i = 1; i <= std::min(in.tzRowCount, kMaxTzRows); ++i) {
            rows.push_back({{"depth", in.tzDepth[i]}, {"multiplierT", in.tzMultiplierT[i]}, {"multiplierZ", in.tzMultiplierZ[i]}});
        }
    }
    json movements = json::array();
    if (in.settlementListSwitch == 1) {
        for (int i = 1; i <= std::min(in.tipMovementCount, kMaxTipMovements); ++i) movements.push_back(in.tipMovement[i]);
    }
    return {
        {"verificationDepths", {{"unit", u.length}, {"values", in.verificationSwitch == 1 ? depths : json::array()}}},
        {"tzMultipliers", {{"on", in.tzTableSwitch == 1}, {"units", {{"depth", u.length}}}, {"rows", rows}}},
        {"assumedTipMovements",
         {{"given", in.settlementListSwitch == 1}, {"unit", english ? "in" : "m"}, {"values", movements}}},
        {"tipCurveMultipliers",
         {{"on", in.scaleFactorSwitch == 1},
          {"load", in.scaleFactorSwitch == 1 ? json(in.tipLoadFactor) : json(nullptr)},
          {"movement", in.scaleFactorSwitch == 1 ? json(in.tipMovementFactor) : json(nullptr)}}},
    };
}

json inputOf(const Run& run) {
    const Units u = unitsOf(run);
    return {
        {"titles", titlesOf(run)},
        {"unitSystem", run.pile.english() ? "English" : "SI"},
        {"pile", pileOf(run, u)},
        {"options", optionsOf(run, u)},
        {"soil", soilOf(run, u)},
        {"cpt", cptOf(run, u)},
        {"loadSettlement", settlementInputOf(run, u)},
    };
}

// The capacity tables the report prints, in its order: the user-specified method (first pass), the
// onshore methods, then API RP-2A and the cone-based methods.
json capacityTablesOf(const Run& run, const Units& u) {
    static constexpr std::array<int, kMethodCount> kReportOrder = {kUserMethod, kFhwa, kUsace, kLambda, kApi,
                                                                  kNgi,        kIcp,  kFugro, kUwa};
    const CapacityState& cap = run.capacity();
    const bool tension = run.pile.tensionLoading == 1;
    json tables = json::array();
    for (const int methodId : kReportOrder) {
        const int input = InputOrderOf(methodId);
        const MethodCurves& curves = cap.method[methodId];
        if (run.pile.methodSelected[input] != 1 || !curves.computed) continue;
        const TableVariant variant = SelectTableVariant(run.pile, methodId);
        const bool depthColumn = variant == TableVariant::CD || variant == TableVariant::CDP || variant == TableVariant::TD;
        const bool plugColumns = variant == TableVariant::CP || variant == TableVariant::CDP;
        const char* bearingKey = tension ? "selfWeight" : "endBearing";
        json rows = json::array();
        for (int k = 1; k <= cap.pileNodeCount; ++k) {
            if (!IsPrintedNode(k, cap.pileNodeCount, run.pile.printInterval)) continue;
            json row = {{"pileLength", cap.PileLength[k]}};
            if (depthColumn) row["depth"] = cap.PileLength[k] * std::cos(run.pile.batterAngle);
            row["skinFriction"] = curves.PrintedSkin[k];
            row[bearingKey] = curves.SavedEndBearing[k];
            row["ultimateCapacity"] = curves.SavedUltimateCapacity[k];
            row["plugLength"] = curves.SavedPlugLength[k];
            row["plugControlsTip"] = curves.TipControl[k] == 2;
            row["unitSideFriction"] = curves.SavedUnitSideFriction[k];
            rows.push_back(row);
        }
        tables.push_back({
            {"method", methodName(input)},
            {"methodNumber", input},
            {"loading", tension ? "tension" : "compression"},
            {"depthColumn", depthColumn},
            {"plugColumns", plugColumns},
            {"units",
             {{"pileLength", u.length}, {"depth", u.length}, {"skinFriction", u.force}, {bearingKey, u.force},
              {"ultimateCapacity", u.force}, {"plugLength", u.length}, {"unitSideFriction", u.stress}}},
            {"rows", rows},
        });
    }
    return tables;
}

json curveOf(const TzCurve& c, bool withSolverFields) {
    json curve = {{"depthBelowGround", c.depthBelowGround},
                  {"t", seriesOf(c.t.data(), c.t.size())},
                  {"z", seriesOf(c.z.data(), c.z.size())}};
    if (withSolverFields) {
        curve["depthFromHead"] = c.depthFromHead;
        curve["cohesive"] = c.cohesive;
        curve["tMax"] = c.tMax;
    }
    return curve;
}

json loadSettlementOf(const Run& run) {
    const LoadSettlementState& st = run.loadSettlement();
    const bool english = run.pile.english();
    const json units = {
        {"depthBelowGround", english ? "ft" : "m"}, {"depthFromHead", english ? "in" : "m"},
        {"t", english ? "psi" : "kPa"},             {"z", english ? "in" : "m"},
        {"tMax", english ? "psi" : "kPa"},          {"load", english ? "kip" : "kN"},
        {"movement", english ? "in" : "m"},         {"distanceFromHead", english ? "ft" : "m"},
    };
    json printed = json::array(), used = json::array(), verification = json::array();
    for (int k = 1; k <= st.printedCurveCount; ++k) printed.push_back(curveOf(st.printedCurves[k], false));
    for (int k = 1; k <= st.curveCount; ++k) used.push_back(curveOf(st.curves[k], true));
    for (int i = 1; i <= st.verificationCount; ++i) {
        const bool inside = st.verificationInside[i];
        json curve = inside ? curveOf(st.verificationCurves[i], false) : json{{"depthBelowGround", st.verificationCurves[i].depthBelowGround}};
        curve["insideSoilProfile"] = inside;
        verification.push_back(curve);
    }
    json points = json::array(), distribution = json::array();
    for (int i = 1; i <= st.pointCount; ++i) {
        const SettlementPoint& p = st.points[i];
        points.push_back({{"topLoad", p.topLoad},
                          {"topMovement", p.topMovement},
                          {"tipLoad", p.tipLoad},
                          {"tipMovement", p.tipMovement},
                          {"converged", p.converged},
                          {"iterations", p.maxIterations}});
        json increments = json::array();
        for (int j = 1; j <= st.incrementCount; ++j) {
            const std::size_t at = static_cast<std::size_t>((i - 1) * st.incrementCount + j - 1);
            if (at >= st.loadDistribution.size()) break;
            const IncrementRecord& r = st.loadDistribution[at];
            increments.push_back({{"distanceFromHead", r.midpointDistance},
                                  {"load", r.averageLoad},
                                  {"movement", r.midpointMovement}});
        }
        distribution.push_back({{"tipMovement", p.tipMovement}, {"increments", increments}});
    }
    return {
        {"method", methodName(run.pile.loadTransferMethod)},
        {"units", units},
        {"tzCurvesPrinted", printed},
        {"tzCurvesUsed", used},
        {"tipCurve",
         {{"load", seriesOf(st.tipCurve.load.data(), st.tipCurve.load.size())},
          {"movement", seriesOf(st.tipCurve.movement.data(), st.tipCurve.movement.size())}}},
        {"incrementLength", st.incrementLength},
        {"points", points},
        {"loadDistribution", distribution},
        {"verificationCurves", verification},
    };
}

}  // namespace

nlohmann::json ResultsJson(const Run& run) {
    json doc = {
        {"schema_version", kJsonSchemaVersion},
        {"program", "pileaxial"},
        {"version", PILEAXIAL_VERSION},
        {"status", run.status},
        {"statusName", statusName(run.status)},
        {"message", run.faultMessage},
        {"files",
         {{"input", run.files.inputName},
          {"report", run.files.outputName},
          {"plot", run.files.plotName},
          {"cpt", run.files.cptName}}},
    };
    if (run.status == kStatusCompleted || run.status == kStatusStopped) doc["input"] = inputOf(run);
    if (run.status == kStatusCompleted) {
        const Units u = unitsOf(run);
        doc["capacityTables"] = capacityTablesOf(run, u);
        if (run.loadSettlement().computed) doc["loadSettlement"] = loadSettlementOf(run);
    }
    return doc;
}

std::string WriteResultsJson(const Run& run, const std::string& path) {
    // A title or a file name in another encoding than UTF-8 (a degree sign from an older editor) would
    // make the writer throw; such bytes are replaced in the document, the report keeps them as read.
    const std::string text = ResultsJson(run).dump(2, ' ', false, json::error_handler_t::replace) + "\n";
    const std::string temporary = path + ".tmp";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        if (!out) return "the JSON results file \"" + path + "\" cannot be created";
        out << text;
        out.flush();
        if (!out) {
            out.close();
            std::remove(temporary.c_str());
            return "the JSON results file \"" + path + "\" could not be written in full";
        }
    }
    std::error_code ec;
    std::filesystem::rename(temporary, path, ec);
    if (ec) {
        std::remove(temporary.c_str());
        return "the JSON results file \"" + path + "\" could not be put in place: " + ec.message();
    }
    return "";
}

}  // namespace pileaxial::output
