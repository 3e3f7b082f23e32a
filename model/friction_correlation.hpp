#pragma once

namespace pileaxial {

// Friction angle (degrees) of a cohesionless soil from its blow count N (> 0) and its vertical
// effective stress sigma in psi.  `angle` holds the last angle returned in the run: it is kept as the
// chart value where the chart has no value of its own, and receives the result.
void EstimateFrictionAngle(double& angle, double blowCount, double sigmaPsi);

}  // namespace pileaxial
