// Friction angle of a cohesionless soil from its blow count: a chart of angle against blow count for
// vertical effective stresses of 0, 20 and 40 psi, blended linearly between the stress levels, then
// limited by a stress-dependent upper bound.
#include "model/friction_correlation.hpp"

#include <cstddef>

namespace pileaxial {

namespace {

struct CurvePoint {
    double n;      // blow count
    double value;  // degrees
};

// Chart curves at 0, 20 and 40 psi.  The (60, 0) point of the 20 psi curve only closes the last
// interval: the curve is read at N = 55 at the most, where that point has no weight.
constexpr CurvePoint kChart0[] = {{0, 0}, {2, 32}, {4, 34}, {6, 36}, {10, 38}, {15, 42}, {20, 45}};
constexpr CurvePoint kChart20[] = {{6, 30},  {10, 32}, {15, 34}, {20, 36}, {25, 37}, {30, 39},
                                   {35, 40}, {40, 41}, {45, 42}, {50, 44}, {55, 45}, {60, 0}};
constexpr CurvePoint kChart40[] = {{10, 31}, {15, 32}, {20, 34}, {25, 35}, {30, 36}, {35, 36},
                                   {40, 37}, {45, 38}, {50, 39}, {55, 39}, {60, 40}, {65, 41},
                                   {70, 42}, {75, 42}, {80, 43}, {85, 44}, {90, 44}};
// Upper bounds of the angle at 0 and 40 psi.
constexpr CurvePoint kCap0[] = {{3, 30}, {4, 32}, {10, 35}, {30, 40}, {60, 43}};
constexpr CurvePoint kCap40[] = {{3, 25}, {4, 27}, {10, 30}, {30, 35}, {60, 38}};

// Piecewise-linear curve, constant beyond its end points.
template <std::size_t Size>
double ReadCurve(const CurvePoint (&curve)[Size], double n) {
    if (n <= curve[0].n) return curve[0].value;
    for (std::size_t i = 1; i < Size; ++i) {
        if (n < curve[i].n) {
            const CurvePoint& a = curve[i - 1];
            const CurvePoint& b = curve[i];
            return a.value + (b.value - a.value) * (n - a.n) / (b.n - a.n);
        }
    }
    return curve[Size - 1].value;
}

// Blend between the 20 and 40 psi curves (also used, extrapolated, just below 20 psi at N = 55).
double Blend20To40(double n, double sigma) {
    const double f20 = ReadCurve(kChart20, n);
    const double f40 = ReadCurve(kChart40, n);
    return f20 - ((sigma - 20) / 20) * (f20 - f40);
}

// Very dense sand below 40 psi: from the 40 psi curve up towards 45 degrees as the stress drops.
double DenseBelow40(double n, double sigma) {
    const double f40 = ReadCurve(kChart40, n);
    return f40 + ((40 - sigma) / 20) * (45 - f40);
}

}  // namespace

void EstimateFrictionAngle(double& angle, double blowCount, double sigmaPsi) {
    const double n = blowCount;
    const double sigma = sigmaPsi;
    double phi = angle;  // the chart has no value of its own in a few corners: keep the last angle

    if (sigma <= 20) {
        if (n < 6) {
            const double f0 = ReadCurve(kChart0, n);
            phi = f0 - (sigma / 20) * (f0 - 30);
        } else if (n < 20) {
            const double f0 = ReadCurve(kChart0, n);
            phi = f0 - (sigma / 20) * (f0 - ReadCurve(kChart20, n));
        } else if (n < 55) {
            const double f20 = ReadCurve(kChart20, n);
            phi = f20 + ((20 - sigma) / 20) * (45 - f20);
        } else if (n == 55) {
            phi = Blend20To40(n, sigma);
        } else if (n < 90) {
            phi = DenseBelow40(n, sigma);
        } else {
            phi = 50;
        }
    } else if (sigma < 40) {
        if (n <= 6) {
            phi = 30;
        } else if (n < 10) {
            phi = 30 + 0.5 * (n - 6);
        } else if (n <= 55) {
            phi = Blend20To40(n, sigma);
        } else if (n < 90) {
            phi = DenseBelow40(n, sigma);
        } else if (n > 90) {
            phi = 50;
        }
    } else if (n > 10 && n < 90) {
        phi = ReadCurve(kChart40, n);
    }

    const double cap0 = ReadCurve(kCap0, n);
    const double cap40 = ReadCurve(kCap40, n);
    double cap = 0;
    if (sigma <= 0) {
        cap = cap0;
    } else if (sigma >= 40) {
        cap = cap40;
    } else {
        cap = cap0 + (sigma / 40) * (cap40 - cap0);
    }
    angle = cap < phi ? cap : phi;
}

}  // namespace pileaxial
