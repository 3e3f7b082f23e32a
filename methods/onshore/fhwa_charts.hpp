#pragma once
// Digitised design charts of the FHWA static method: the friction-angle ratio delta/phi, the
// correction factor C_F, the earth-pressure coefficient K_delta and the adhesion factor alpha.
// Every chart is a pure function.  Single curves are read by clamped linear interpolation
// (model/interpolation.hpp); the rules for moving between curves are given with each chart.

namespace pileaxial {

// delta/phi against the displacement volume V (ft^3 per ft of pile) for pile type 1..7 (1 steel pipe
// or non-tapered monotube, 2 timber, 3 precast concrete, 4 step-taper, 5 uniform taper, 6 H-pile,
// 7 tapered portion of monotube).  V below 0.08 reads the first row, above 1.9 the last.
// A pile type outside 1..7 has no curve: std::out_of_range is thrown.
double DeltaPhiRatioChart(double displacementVolume, int pileType);

// Correction factor C_F for K_delta when delta differs from phi, against delta/phi and phi
// (degrees).  Each delta/phi column (0.2, 0.4, ... 1.4) is read at phi; a ratio inside the band
// [a, b) between two columns is interpolated linearly between them; a ratio <= 0.2 reads the 0.2
// column and one >= 1.4 the 1.4 column.
double CfCorrectionChart(double deltaPhiRatio, double frictionAngle);

// Earth-pressure coefficient K_delta for phi = 25, 30, 35 and 40 degrees, against the taper angle
// omega (degrees) and the displacement volume V (ft^3 per ft).  Each chart has curves for
// V = 0.1, 1.0 and 10 read at omega; V <= 0.1 and V >= 10 read the end curves, and a V in between
// is interpolated linearly between the two curves that bracket it.
double KDeltaChart25(double taperAngle, double displacementVolume);
double KDeltaChart30(double taperAngle, double displacementVolume);
double KDeltaChart35(double taperAngle, double displacementVolume);
double KDeltaChart40(double taperAngle, double displacementVolume);

// Adhesion factor alpha against the undrained shear strength c and the penetration ratio into the
// bearing clay.  c is in the model's stress unit: ksf when unitSystem < 2, otherwise kPa (converted
// to ksf with 47.88 kPa per ksf); every curve is clamped to c = 0..4.5 ksf.
//   Case 1, cohesionless soil over stiff cohesive soil: curves for ratio 10, 20 and 40.
//   Case 2, soft clay or silt over stiff cohesive soil: curves for ratio 10 and 20.
//   Case 3, stiff cohesive soil without different overlying strata: curves for ratio 10 and 40.
// A ratio below the first curve reads that curve, one at or beyond the last reads the last, and in
// between the two bracketing curves are blended linearly in the ratio.
double AdhesionChartCase1(double shearStrength, double penetrationRatio, int unitSystem);
double AdhesionChartCase2(double shearStrength, double penetrationRatio, int unitSystem);
double AdhesionChartCase3(double shearStrength, double penetrationRatio, int unitSystem);

}  // namespace pileaxial
