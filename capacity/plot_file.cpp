#include "capacity/plot_file.hpp"

namespace pileaxial {

void WritePlotHeader(textio::RecordWriter& plot, int methodCount, int rowCount, int unitSystem,
                     int loadTransferMethod) {
    // Free-format integers, each right-aligned in twelve characters as list-directed output writes them.
    plot.put(textio::Line().i(methodCount, 12).i(rowCount, 12).i(unitSystem, 12).i(loadTransferMethod, 12));
}

void WritePlotRow(textio::RecordWriter& plot, double pileLength, double skinFriction, double endBearing,
                  double ultimateCapacity, double unitSideFriction) {
    plot.put(textio::Line()
                 .x(2).f(pileLength, 7, 2)
                 .x(2).f(skinFriction, 8, 1)
                 .x(2).f(endBearing, 8, 1)
                 .x(2).f(ultimateCapacity, 9, 1)
                 .x(2).f(unitSideFriction, 9, 3));
}

}  // namespace pileaxial
