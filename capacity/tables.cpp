#include "capacity/tables.hpp"

#include <array>
#include <cmath>
#include <string>

#include "capacity/plot_file.hpp"

namespace pileaxial {

namespace {

struct Banner {
    int indent;
    int width;
    const char* title;
};

constexpr std::array<Banner, kMethodCount> kBanners = {{
    {28, 22, "*  FED. HWY. METHOD  *"},
    {28, 22, "* ARMY CORPS METHOD  *"},
    {28, 22, "*  LAMBDA 2 METHOD   *"},
    {28, 22, "*  API RP-2A (2010)  *"},
    {10, 52, "*  NORWEIGIAN GEOTECHNICAL INSTITUTE (NGI) METHOD  *"},
    {20, 35, "*  IMPERIAL COLLEGE (MTD) METHOD  *"},
    {20, 35, "*    FUGRO 2004 (FUGRO) METHOD    *"},
    {13, 45, "*  UNIV. OF WESTERN AUSTRALIA (UWA) METHOD  *"},
    {29, 18, "* GENERAL METHOD *"},
}};

constexpr const char* kDepthLine1 = "PILE LENGTH      DEPTH      TOTAL SKIN       END       ULTIMATE";
constexpr const char* kDepthLine2 = "BELOW GND.    BELOW GND.    FRICTION       BEARING     CAPACITY";
constexpr const char* kDepthLine2User = "BELOW GND.    BELOW GND.    FRICTION        BEARING    CAPACITY";
constexpr const char* kPlainLine1 = "   PILE       TOTAL SKIN       END       ULTIMATE";
constexpr const char* kPlainLine2 = "PENETRATION   FRICTION       BEARING     CAPACITY";
constexpr const char* kTensionDepthLine1 = "PILE LENGTH      DEPTH      TOTAL SKIN       SELF      ULTIMATE";
constexpr const char* kTensionDepthLine2 = "BELOW GND.    BELOW GND.    FRICTION        WEIGHT     CAPACITY";
constexpr const char* kTensionLine1 = "   PILE       TOTAL SKIN       SELF      ULTIMATE";
constexpr const char* kTensionLine2 = "PENETRATION   FRICTION        WEIGHT     CAPACITY";

bool hasDepth(TableVariant v) {
    return v == TableVariant::CD || v == TableVariant::CDP || v == TableVariant::TD;
}
bool hasPlug(TableVariant v) { return v == TableVariant::CP || v == TableVariant::CDP; }

}  // namespace

TableVariant SelectTableVariant(const PileModel& pile, int methodId) {
    const bool depth = pile.batterAngle != 0;
    if (pile.tensionLoading == 1) return depth ? TableVariant::TD : TableVariant::T;
    const bool plug = methodId != kUserMethod && pile.tipClosure != 1 &&
                      pile.insideDiameter >= kNotGivenTolerance && pile.plugOption == 0;
    if (depth) return plug ? TableVariant::CDP : TableVariant::CD;
    return plug ? TableVariant::CP : TableVariant::C;
}

void WriteTableHeading(Run& run, int methodId, TableVariant variant) {
    textio::RecordWriter& out = run.report;
    const Banner& banner = kBanners[static_cast<std::size_t>(methodId - 1)];
    const std::string stars(static_cast<std::size_t>(banner.width), '*');
    out.blank(3);
    out.put(textio::Line().x(banner.indent).a(stars));
    out.put(textio::Line().x(banner.indent).a(banner.title));
    out.put(textio::Line().x(banner.indent).a(stars));
    out.blank();

    const std::string& length = run.labels.length;
    const std::string& force = run.labels.force;
    textio::Line line1, line2, line3;
    line1.x(10);
    line2.x(10);
    line3.x(10);
    switch (variant) {
        case TableVariant::CD:
        case TableVariant::CDP:
            line1.a(kDepthLine1);
            line2.a(methodId == kUserMethod ? kDepthLine2User : kDepthLine2);
            break;
        case TableVariant::C:
        case TableVariant::CP:
            line1.a(kPlainLine1);
            line2.a(kPlainLine2);
            break;
        case TableVariant::TD:
            line1.a(kTensionDepthLine1);
            line2.a(kTensionDepthLine2);
            break;
        case TableVariant::T:
            line1.a(kTensionLine1);
            line2.a(kTensionLine2);
            break;
    }
    line3.x(4).a(length);
    if (hasDepth(variant)) line3.x(10).a(length);
    line3.x(10).a(force).x(11).a(force).x(10).a(force);
    if (hasPlug(variant)) {
        line1.x(8).a("PLUG");
        line2.x(7).a("LENGTH");
        line3.x(10).a(length);
    }
    out.put(line1);
    out.put(line2);
    out.put(line3);
}

void WriteTableRow(Run& run, TableVariant variant, const CapacityRow& row) {
    textio::Line line;
    line.x(11).f(row.pileLength, 7, 2);
    if (hasDepth(variant)) line.x(6).f(row.pileLength * std::cos(run.pile.batterAngle), 7, 2);
    line.x(6).f(row.skinFriction, 8, 1).x(6).f(row.endBearing, 8, 1);
    if (hasPlug(variant)) {
        line.a(row.plugControlsTip ? "*" : " ").x(3).f(row.ultimateCapacity, 9, 1).x(3).f(row.plugLength, 9, 2);
    } else {
        line.x(4).f(row.ultimateCapacity, 9, 1);
    }
    run.report.put(line);
    WritePlotRow(run.plot, row.pileLength, row.skinFriction, row.endBearing, row.ultimateCapacity,
                 row.unitSideFriction);
}

bool IsPrintedNode(int k, int nodeCount, int printInterval) {
    return k == nodeCount || (k - 1) % printInterval == 0;
}

int PlotRowCount(int nodeCount, int printInterval) {
    // Wide arithmetic: a print interval near the largest integer must not overflow p + n.
    const long long n = static_cast<long long>(nodeCount) - 1;
    const long long p = printInterval;
    long long rows = (p + n) / p;
    if (rows < 1) rows = 0;
    if ((rows - 1) * p + 1 < nodeCount) ++rows;
    return static_cast<int>(rows);
}

}  // namespace pileaxial
