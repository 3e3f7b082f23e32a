#include "output/html_report.hpp"

#include <array>
#include <cmath>
#include <sstream>
#include <vector>

#include "capacity/tables.hpp"
#include "output/html_chart.hpp"

namespace pileaxial {

namespace {

using html::ChartSeries;
using html::Chart;
using html::Escape;
using html::Fixed;
using html::SoilBand;

constexpr std::array<const char*, kMethodCount> kMethodNames = {
    "FHWA", "USACE", "Revised Lambda", "API RP-2A (2010)", "NGI", "ICP/MTD", "Fugro 2004", "UWA",
    "User-specified"};

std::string methodName(int methodId) {
    if (methodId < 1 || methodId > kMethodCount) return "none";
    return kMethodNames[static_cast<std::size_t>(methodId - 1)];
}

// Units as the page shows them.
struct Units {
    bool english = true;
    std::string length, diameter, force, stress, unitWeight, modulus, movement, transfer;
};

Units unitsOf(const Run& run) {
    Units u;
    u.english = run.pile.unitSystem != 2;
    if (u.english) {
        u = {true, "ft", "in", "kips", "ksf", "pcf", "psi", "in", "psi"};
    } else {
        u = {false, "m", "mm", "kN", "kPa", "kN/m³", "kPa", "m", "kPa"};
    }
    return u;
}

std::string soilName(double soilType) {
    if (soilType == 1.0) return "Sand";
    if (soilType == 2.0) return "Clay";
    if (soilType == 3.0) return "Silt";
    return "Type " + Fixed(soilType, 0);
}

std::string soilColour(double soilType) {
    if (soilType == 1.0) return "#f3d98b";
    if (soilType == 2.0) return "#b08a64";
    if (soilType == 3.0) return "#d8c8a8";
    return "#cccccc";
}

const char* kPileTypes[] = {"steel pipe", "timber", "precast concrete", "step-taper", "uniform taper",
                            "H-pile or other steel section", "tapered part of a monotube"};

// A printed method: selected for a table and computed in this run, in input order.
struct PrintedMethod {
    int id;
    int style;  // palette index, by input position, so a method keeps its colour on every chart
};

std::vector<PrintedMethod> printedMethods(const Run& run) {
    std::vector<PrintedMethod> list;
    for (int input = 1; input <= kMethodCount; ++input) {
        const int id = MethodIdOfInput(input);
        if (run.pile.methodSelected[input] == 1 && run.capacity().method[id].computed) {
            list.push_back({id, input - 1});
        }
    }
    return list;
}

double batterCosine(const Run& run) {
    const double c = std::cos(run.pile.batterAngle);
    return c > 1e-6 ? c : 1.0;
}

// The soil column in depth, or along the pile (depth over the batter cosine) for the pile-length plots.
std::vector<SoilBand> soilBands(const Run& run, double scale) {
    std::vector<SoilBand> bands;
    const SoilProfile& soil = run.soil;
    for (int i = 1; i < soil.count; ++i) {
        const SoilLayer& a = soil.point[i];
        const SoilLayer& b = soil.point[i + 1];
        if (!(b.depth > a.depth)) continue;
        const std::string name = soilName(a.soilType);
        if (!bands.empty() && bands.back().name == name && bands.back().bottom == a.depth * scale) {
            bands.back().bottom = b.depth * scale;
            continue;
        }
        bands.push_back({a.depth * scale, b.depth * scale, name, soilColour(a.soilType)});
    }
    return bands;
}

struct Page {
    std::ostringstream o;
    void row(const std::string& key, const std::string& value) {
        o << "<tr><th>" << Escape(key) << "</th><td>" << Escape(value) << "</td></tr>\n";
    }
};

std::string num(double v, int decimals = 2) { return Fixed(v, decimals); }

void writeMessages(Page& p, const Run& run, const std::string& messages) {
    std::vector<std::string> lines;
    std::istringstream in(messages);
    for (std::string line; std::getline(in, line);) {
        if (!line.empty()) lines.push_back(line);
    }
    if (run.status != kStatusCompleted) {
        p.o << "<div class=\"status\"><p><strong>The run did not complete (status " << run.status
            << ").</strong> The results below are those computed before it stopped.</p>\n";
        if (lines.empty()) p.o << "<p>No message was recorded.</p>\n";
    } else if (!lines.empty()) {
        p.o << "<div class=\"warnings\"><p><strong>Warnings</strong></p>\n";
    }
    if (!lines.empty()) {
        p.o << "<ul>\n";
        for (const std::string& line : lines) p.o << "<li>" << Escape(line) << "</li>\n";
        p.o << "</ul>\n";
    }
    if (run.status != kStatusCompleted || !lines.empty()) p.o << "</div>\n";
}

void writeCase(Page& p, const Run& run, const Units& u) {
    const PileModel& pile = run.pile;
    p.o << "<section id=\"case\"><h2>Case</h2>\n<div class=\"cols\">\n";

    p.o << "<table class=\"kv\"><caption>Pile</caption>\n";
    p.row("Units", u.english ? "English (ft, in, kips, ksf)" : "SI (m, mm, kN, kPa)");
    p.row("Pile type", pile.pileType >= 1 && pile.pileType <= 7
                           ? kPileTypes[pile.pileType - 1]
                           : "type " + std::to_string(pile.pileType));
    p.row("Tip", pile.tipClosure == 1 ? "closed" : "open");
    p.row("Outside diameter (" + u.diameter + ")", num(pile.outsideDiameter));
    p.row("Inside diameter (" + u.diameter + ")", num(pile.insideDiameter));
    if (pile.enhancedEndLength > 0) {
        p.row("Enhanced end: length (" + u.length + "), inside diameter (" + u.diameter + ")",
              num(pile.enhancedEndLength) + ", " + num(pile.enhancedEndDiameter));
    }
    p.row("Total length (" + u.length + ")", num(pile.totalLengthAsRead));
    p.row("Stick-up (" + u.length + ")", num(pile.stickupLength));
    p.row("Embedded length (" + u.length + ")", num(pile.embeddedLength));
    p.row("Batter (degrees)", num(pile.batterAngleAsRead));
    if (pile.taperAngle != 0) p.row("Taper angle (degrees)", num(pile.taperAngle, 3));
    p.row("Modulus of elasticity (" + u.modulus + ")", num(pile.elasticModulus, 0));
    p.row("Zero friction length (" + u.length + ")", num(pile.zeroFrictionLength));
    p.row("Length increment (" + u.length + "), print interval",
          num(pile.lengthIncrement) + ", " + std::to_string(pile.printInterval));
    p.o << "</table>\n";

    p.o << "<table class=\"kv\"><caption>Loading, methods and options</caption>\n";
    p.row("Loading", pile.tensionLoading == 1
                         ? "tension (side friction reduction factor " + num(pile.tensionReductionFactor, 3) + ")"
                         : "compression");
    std::string printed;
    for (const PrintedMethod& m : printedMethods(run)) printed += (printed.empty() ? "" : ", ") + methodName(m.id);
    p.row("Methods printed", printed.empty() ? "none" : printed);
    p.row("Unit load transfers from", pile.loadTransferMethod >= 1 && pile.loadTransferMethod <= kMethodCount
                                          ? methodName(MethodIdOfInput(pile.loadTransferMethod))
                                          : "none");
    p.row("CPT sounding", pile.cptDataSwitch == 1 ? std::to_string(run.cpt.cptPointCount) + " points" : "none");
    p.row("Side resistance reported", pile.reducedSideFriction == 1 ? "reduced by the LRFD friction factors"
                                                                     : "unfactored");
    const char* plug[] = {"computed", "plugged", "unplugged"};
    p.row("Plug", pile.plugOption >= 0 && pile.plugOption <= 2 ? plug[pile.plugOption] : "computed");
    p.row("ICP/MTD clay", pile.clayDrained == 1 ? "drained" : "undrained");
    p.row("USACE long-pile option", pile.longPileOption == 1 ? "on" : "off");
    std::string critical = "by pile diameter and friction angle";
    if (pile.criticalDepthOption == 1) critical = "where the effective stress reaches its limit";
    if (pile.criticalDepthOption == 2) critical = num(pile.userCriticalDepth) + " " + u.length;
    p.row("Critical depth", critical);
    p.row("t-z multipliers", run.settlement.tzTableSwitch == 1 ? "given" : "none");
    p.row("Assumed tip movements", run.settlement.settlementListSwitch == 1
                                       ? std::to_string(run.settlement.tipMovementCount) + " given"
                                       : "the defaults");
    p.row("Tip-curve multipliers", run.settlement.scaleFactorSwitch == 1
                                       ? num(run.settlement.tipLoadFactor, 3) + " on loads, " +
                                             num(run.settlement.tipMovementFactor, 3) + " on movements"
                                       : "none");
    p.row("Verification depths", std::to_string(run.settlement.verificationCount));
    p.o << "</table>\n</div>\n";

    // The soil points.
    p.o << "<table class=\"data\"><caption>Soil profile</caption>\n<thead><tr><th>Depth (" << u.length
        << ")</th><th>Soil</th><th>Effective unit weight (" << Escape(u.unitWeight)
        << ")</th><th>Friction angle (degrees)</th><th>Undrained shear strength (" << u.stress
        << ")</th><th>Blow count</th></tr></thead>\n<tbody>\n";
    for (int i = 1; i <= run.soil.count; ++i) {
        const SoilLayer& s = run.soil.point[i];
        p.o << "<tr><td>" << num(s.depth) << "</td><td>" << Escape(soilName(s.soilType)) << "</td><td>"
            << num(s.effectiveUnitWeight, 2) << "</td><td>" << num(s.frictionAngle, 1) << "</td><td>"
            << num(s.undrainedShearStrength, 3) << "</td><td>" << num(s.blowCount, 0) << "</td></tr>\n";
    }
    p.o << "</tbody></table>\n";
    if (run.soil.waterTableDepth < kNoWaterTable) {
        p.o << "<p>Water table at " << num(run.soil.waterTableDepth) << " " << u.length << ".</p>\n";
    }
    p.o << "</section>\n";
}

// One chart of a capacity curve versus pile length, every printed method overlaid.
std::string capacityChart(const Run& run, const Units& u, const std::vector<PrintedMethod>& methods,
                          const std::string& title, const std::string& quantity,
                          const NodeArray MethodCurves::*curve) {
    const CapacityState& cap = run.capacity();
    Chart chart;
    chart.title = title;
    chart.xLabel = quantity + " (" + u.force + ")";
    chart.yLabel = "Pile length below ground (" + u.length + ")";
    chart.depthPlot = true;
    const double along = 1.0 / batterCosine(run);
    chart.soil = soilBands(run, along);
    if (run.soil.waterTableDepth < kNoWaterTable) chart.waterLevel = run.soil.waterTableDepth * along;
    for (const PrintedMethod& m : methods) {
        ChartSeries s;
        s.name = methodName(m.id);
        s.style = m.style;
        for (int k = 1; k <= cap.pileNodeCount; ++k) {
            s.x.push_back((cap.method[m.id].*curve)[k]);
            s.y.push_back(cap.PileLength[k]);
        }
        chart.series.push_back(std::move(s));
    }
    if (run.pile.batterAngle != 0) chart.legendNote = "Soil column along the battered pile";
    return html::SvgChart(chart);
}

std::string unitFrictionChart(const Run& run, const Units& u, const std::vector<PrintedMethod>& methods) {
    const CapacityState& cap = run.capacity();
    Chart chart;
    chart.title = "Unit side friction versus depth";
    chart.xLabel = "Unit side friction (" + u.stress + ")";
    chart.yLabel = "Depth below ground (" + u.length + ")";
    chart.depthPlot = true;
    chart.soil = soilBands(run, 1.0);
    if (run.soil.waterTableDepth < kNoWaterTable) chart.waterLevel = run.soil.waterTableDepth;
    const double c = batterCosine(run);
    for (const PrintedMethod& m : methods) {
        ChartSeries s;
        s.name = methodName(m.id);
        s.style = m.style;
        for (int k = 1; k <= cap.pileNodeCount; ++k) {
            s.x.push_back(cap.method[m.id].SavedUnitSideFriction[k]);
            s.y.push_back(cap.PileLength[k] * c);
        }
        chart.series.push_back(std::move(s));
    }
    return html::SvgChart(chart);
}

// Blue at the shallowest curve to red at the deepest.
std::string depthColour(double f) {
    const int r = static_cast<int>(std::lround(30 + f * 200));
    const int g = static_cast<int>(std::lround(90 - f * 40));
    const int b = static_cast<int>(std::lround(200 - f * 170));
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "#%02x%02x%02x", r, g, b);
    return buffer;
}

std::string tzChart(const Run& run, const Units& u) {
    const LoadSettlementState& ls = run.loadSettlement();
    Chart chart;
    chart.title = "t-z curves used by the load-settlement analysis";
    chart.xLabel = "Movement z (" + u.movement + ")";
    chart.yLabel = "Unit load transfer t (" + u.transfer + ")";
    const int n = ls.curveCount;
    // With many curves the legend names a few, evenly spread from the shallowest to the deepest.
    const int legendEvery = n <= 9 ? 1 : (n + 5) / 6;
    for (int i = 1; i <= n; ++i) {
        const TzCurve& c = ls.curves[i];
        ChartSeries s;
        s.name = "at " + num(c.depthBelowGround) + " " + u.length + (c.cohesive ? " (cohesive)" : "");
        s.colour = depthColour(n > 1 ? static_cast<double>(i - 1) / (n - 1) : 0.0);
        s.inLegend = (i - 1) % legendEvery == 0 || i == n;
        s.x.assign(c.z.begin(), c.z.end());
        s.y.assign(c.t.begin(), c.t.end());
        chart.series.push_back(std::move(s));
    }
    if (n > 9) chart.legendNote = std::to_string(n) + " curves, blue shallow to red deep";
    return html::SvgChart(chart);
}

std::string tipChart(const Run& run, const Units& u) {
    const TipCurve& tip = run.loadSettlement().tipCurve;
    Chart chart;
    chart.title = "Tip load-movement curve";
    chart.xLabel = "Tip movement (" + u.movement + ")";
    chart.yLabel = "Tip load (" + u.force + ")";
    ChartSeries s;
    s.name = "tip curve";
    s.style = 0;
    s.x.assign(tip.movement.begin(), tip.movement.end());
    s.y.assign(tip.load.begin(), tip.load.end());
    chart.series.push_back(std::move(s));
    return html::SvgChart(chart);
}

std::string settlementChart(const Run& run, const Units& u) {
    const LoadSettlementState& ls = run.loadSettlement();
    Chart chart;
    chart.title = "Load versus settlement";
    chart.xLabel = "Load (" + u.force + ")";
    chart.yLabel = "Movement, downward (" + u.movement + ")";
    chart.depthPlot = true;  // movement grows downward; no soil column
    ChartSeries head, tip;
    head.name = "pile head";
    head.style = 0;
    tip.name = "pile tip";
    tip.style = 1;
    head.x.push_back(0);
    head.y.push_back(0);
    tip.x.push_back(0);
    tip.y.push_back(0);
    for (int i = 1; i <= ls.pointCount; ++i) {
        head.x.push_back(ls.points[i].topLoad);
        head.y.push_back(ls.points[i].topMovement);
        tip.x.push_back(ls.points[i].tipLoad);
        tip.y.push_back(ls.points[i].tipMovement);
    }
    chart.series.push_back(std::move(head));
    chart.series.push_back(std::move(tip));
    return html::SvgChart(chart);
}

void writeTables(Page& p, const Run& run, const Units& u, const std::vector<PrintedMethod>& methods) {
    const CapacityState& cap = run.capacity();
    const bool tension = run.pile.tensionLoading == 1;
    for (const PrintedMethod& m : methods) {
        const MethodCurves& curves = cap.method[m.id];
        const TableVariant variant = SelectTableVariant(run.pile, m.id);
        const bool depth = variant == TableVariant::CD || variant == TableVariant::CDP || variant == TableVariant::TD;
        const bool plug = variant == TableVariant::CP || variant == TableVariant::CDP;
        p.o << "<table class=\"data\"><caption>" << Escape(methodName(m.id)) << "</caption>\n<thead><tr><th>Pile length ("
            << u.length << ")</th>";
        if (depth) p.o << "<th>Depth below ground (" << u.length << ")</th>";
        p.o << "<th>Side resistance (" << u.force << ")</th><th>" << (tension ? "Self weight" : "End bearing") << " ("
            << u.force << ")</th><th>Ultimate capacity (" << u.force << ")</th>";
        if (plug) p.o << "<th>Plug length (" << u.length << ")</th>";
        p.o << "<th>Unit side friction (" << u.stress << ")</th></tr></thead>\n<tbody>\n";
        for (int k = 1; k <= cap.pileNodeCount; ++k) {
            if (!IsPrintedNode(k, cap.pileNodeCount, run.pile.printInterval)) continue;
            p.o << "<tr><td>" << num(cap.PileLength[k]) << "</td>";
            if (depth) p.o << "<td>" << num(cap.PileLength[k] * std::cos(run.pile.batterAngle)) << "</td>";
            p.o << "<td>" << num(curves.PrintedSkin[k], 1) << "</td><td>" << num(curves.SavedEndBearing[k], 1)
                << (plug && curves.TipControl[k] == 2 ? "*" : "") << "</td><td>"
                << num(curves.SavedUltimateCapacity[k], 1) << "</td>";
            if (plug) p.o << "<td>" << num(curves.SavedPlugLength[k]) << "</td>";
            p.o << "<td>" << num(curves.SavedUnitSideFriction[k], 3) << "</td></tr>\n";
        }
        p.o << "</tbody></table>\n";
        if (plug) p.o << "<p class=\"note\">* the plug's friction limits the tip resistance.</p>\n";
    }
}

constexpr const char* kStyle =
    "body{font-family:sans-serif;margin:1.5em;color:#111;max-width:1100px}"
    "h1{font-size:1.5em;margin-bottom:0.2em}h2{font-size:1.2em;border-bottom:1px solid #999;margin-top:1.6em}"
    ".meta{color:#333;margin:0.2em 0}"
    ".warnings{background:#fff6d6;border:1px solid #d9b400;padding:0.4em 1em;margin:1em 0}"
    ".status{background:#fde2e1;border:1px solid #c0392b;padding:0.4em 1em;margin:1em 0}"
    ".cols{display:flex;flex-wrap:wrap;gap:2em;align-items:flex-start}"
    "table{border-collapse:collapse;margin:0.8em 0;font-size:0.9em}"
    "caption{text-align:left;font-weight:bold;padding:0.3em 0}"
    "th,td{border:1px solid #bbb;padding:0.15em 0.5em}"
    "table.kv th{text-align:left;font-weight:normal;background:#f2f2f2}"
    "table.data td{text-align:right}table.data th{background:#f2f2f2}"
    "svg.chart{display:block;max-width:100%;height:auto;margin:0.6em 0;border:1px solid #ddd}"
    ".note{font-size:0.85em;color:#444}"
    "@media print{body{margin:0}svg.chart,table{break-inside:avoid}h2{break-after:avoid}}";

}  // namespace

std::string HtmlReport(const Run& run, const std::string& messages) {
    const Units u = unitsOf(run);
    const std::vector<PrintedMethod> methods = printedMethods(run);
    const CapacityState& cap = run.capacity();
    const LoadSettlementState& ls = run.loadSettlement();
    Page p;
    const std::string title = run.title.empty() ? "Pile axial analysis" : run.title;
    p.o << "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\"/>\n"
        << "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\"/>\n<title>" << Escape(title)
        << "</title>\n<style>" << kStyle << "</style>\n</head>\n<body>\n";
    p.o << "<h1>" << Escape(title) << "</h1>\n";
    p.o << "<p class=\"meta\">Designer: " << Escape(run.designer) << "</p>\n<p class=\"meta\">Job: "
        << Escape(run.jobNumber) << "</p>\n";
    p.o << "<p class=\"meta\">pileaxial " << Escape(PILEAXIAL_VERSION) << ", input " << Escape(run.files.inputName)
        << "</p>\n";
    writeMessages(p, run, messages);
    writeCase(p, run, u);

    const bool capacityDone = cap.pileNodeCount > 0 && !methods.empty();
    if (capacityDone) {
        p.o << "<section id=\"capacity\"><h2>Capacity versus pile length</h2>\n";
        p.o << capacityChart(run, u, methods, "Ultimate capacity versus pile length", "Ultimate capacity",
                             &MethodCurves::SavedUltimateCapacity);
        p.o << capacityChart(run, u, methods, "Side resistance versus pile length", "Side resistance",
                             &MethodCurves::PrintedSkin);
        const bool tension = run.pile.tensionLoading == 1;
        p.o << capacityChart(run, u, methods,
                             tension ? "Self weight versus pile length" : "End bearing versus pile length",
                             tension ? "Self weight" : "End bearing", &MethodCurves::SavedEndBearing);
        p.o << unitFrictionChart(run, u, methods);
        p.o << "</section>\n";
    } else {
        p.o << "<p>No capacity table was printed in this run.</p>\n";
    }

    if (ls.computed) {
        p.o << "<section id=\"settlement\"><h2>Load transfer and settlement</h2>\n";
        p.o << "<p>Unit load transfers from the "
            << Escape(methodName(MethodIdOfInput(run.pile.loadTransferMethod))) << " method.</p>\n";
        p.o << tzChart(run, u) << tipChart(run, u) << settlementChart(run, u);
        p.o << "<table class=\"data\"><caption>Load-settlement points</caption>\n<thead><tr><th>Head load (" << u.force
            << ")</th><th>Head movement (" << u.movement << ")</th><th>Tip load (" << u.force
            << ")</th><th>Tip movement (" << u.movement << ")</th></tr></thead>\n<tbody>\n";
        const int d = u.english ? 4 : 5;
        for (int i = 1; i <= ls.pointCount; ++i) {
            const SettlementPoint& pt = ls.points[i];
            p.o << "<tr><td>" << num(pt.topLoad, 1) << "</td><td>" << num(pt.topMovement, d) << "</td><td>"
                << num(pt.tipLoad, 1) << "</td><td>" << num(pt.tipMovement, d) << "</td></tr>\n";
        }
        p.o << "</tbody></table>\n</section>\n";
    }

    if (capacityDone) {
        p.o << "<section id=\"tables\"><h2>Capacity tables</h2>\n";
        writeTables(p, run, u, methods);
        p.o << "</section>\n";
    }
    p.o << "</body>\n</html>\n";
    return p.o.str();
}

}  // namespace pileaxial
