#pragma once
// Reading digitised design curves.  The charts are held as single-precision tables (the values were
// read off printed charts to three or four figures) and every lookup widens them to double first.
#include <array>
#include <cstddef>

namespace pileaxial {

// Clamped linear interpolation in the curve (xs[i], ys[i]), xs strictly increasing.
//   x <= xs[0]        -> ys[0]
//   x >  xs[N-1]      -> ys[N-1]
//   otherwise, with j the first point such that x <= xs[j], the straight line through points j-1 and j
//   measured back from point j:  ys[j] - (xs[j] - x) * (ys[j] - ys[j-1]) / (xs[j] - xs[j-1]).
// At a tabulated abscissa the tabulated ordinate is returned exactly.  A NaN x matches no case and is
// returned as it is, so an undefined argument stays visibly undefined instead of reading a chart end.
template <typename X, typename Y, std::size_t N>
constexpr double ClampedInterpolation(const std::array<X, N>& xs, const std::array<Y, N>& ys, double x) {
    static_assert(N >= 1, "a curve needs at least one point");
    if (x <= static_cast<double>(xs[0])) {
        return static_cast<double>(ys[0]);
    }
    for (std::size_t j = 1; j < N; ++j) {
        const double xj = static_cast<double>(xs[j]);
        if (x <= xj) {
            const double xPrev = static_cast<double>(xs[j - 1]);
            const double yj = static_cast<double>(ys[j]);
            const double yPrev = static_cast<double>(ys[j - 1]);
            return yj - (xj - x) * (yj - yPrev) / (xj - xPrev);
        }
    }
    if (x > static_cast<double>(xs[N - 1])) {
        return static_cast<double>(ys[N - 1]);
    }
    return x;  // NaN
}

// Column `col` (0-based) of a table stored row by row, as one curve over the row abscissae.
template <typename T, std::size_t Rows, std::size_t Cols>
constexpr std::array<T, Rows> TableColumn(const std::array<std::array<T, Cols>, Rows>& table,
                                          std::size_t col) {
    std::array<T, Rows> column{};
    for (std::size_t r = 0; r < Rows; ++r) {
        column[r] = table[r][col];
    }
    return column;
}

}  // namespace pileaxial
