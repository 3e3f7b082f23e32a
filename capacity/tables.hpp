#pragma once
// The capacity table of one method in the report: banner, column headings and one row per printed
// pile length, each followed by its plot-data row.
#include "engine/run.hpp"

namespace pileaxial {

enum class TableVariant { C, CP, CD, CDP, T, TD };

// Layout for a method: tension or compression, with a depth column on a battered pile and plug columns
// when an open-ended pile's plug is computed (never for the user-specified method).
TableVariant SelectTableVariant(const PileModel& pile, int methodId);

// One printed row of a capacity table.
struct CapacityRow {
    double pileLength = 0;
    double skinFriction = 0;
    double endBearing = 0;          // factored; in tension the self weight
    double ultimateCapacity = 0;
    double plugLength = 0;
    bool plugControlsTip = false;   // the mark: tip resistance limited by the plug's friction
    double unitSideFriction = 0;    // for the plot row
};

void WriteTableHeading(Run& run, int methodId, TableVariant variant);
void WriteTableRow(Run& run, TableVariant variant, const CapacityRow& row);

// Nodes printed for a print interval p: 1, 1 + p, 1 + 2p, ... and always the last node.
bool IsPrintedNode(int k, int nodeCount, int printInterval);
// Rows each printed table has.
int PlotRowCount(int nodeCount, int printInterval);

}  // namespace pileaxial
