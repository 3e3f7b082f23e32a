#pragma once
// The plot-data file the host draws its graphs from: a header record, then one row per printed
// capacity row.
#include "textio/record_writer.hpp"

namespace pileaxial {

void WritePlotHeader(textio::RecordWriter& plot, int methodCount, int rowCount, int unitSystem,
                     int loadTransferMethod);
void WritePlotRow(textio::RecordWriter& plot, double pileLength, double skinFriction, double endBearing,
                  double ultimateCapacity, double unitSideFriction);

}  // namespace pileaxial
