#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "textio/fortran_format.hpp"

namespace pileaxial::textio {
namespace {

TEST(FormatF, RoundsAnExactHalfAwayFromZero) {
    EXPECT_EQ(formatF(0.125, 5, 2), " 0.13");   // 0.125 is exact in binary: a true tie
    EXPECT_EQ(formatF(-0.125, 5, 2), "-0.13");
    EXPECT_EQ(formatF(2.5, 3, 0), " 3.");
    EXPECT_EQ(formatF(-2.5, 3, 0), "-3.");
    EXPECT_EQ(formatF(1.5, 3, 0), " 2.");
    EXPECT_EQ(formatF(0.0625, 5, 3), "0.063");
    EXPECT_EQ(formatF(0.5, 2, 0), "1.");
}

TEST(FormatF, RoundsOnTheExactBinaryValue) {
    EXPECT_EQ(formatF(1.005, 5, 2), " 1.00");   // 1.00499999999999989...
    EXPECT_EQ(formatF(2.675, 5, 2), " 2.67");   // 2.67499999999999982...
    EXPECT_EQ(formatF(0.995, 4, 2), "0.99");    // 0.99499999999999999...
    EXPECT_EQ(formatF(-0.005, 5, 2), "-0.01");  // -0.00500000000000000010...
    EXPECT_EQ(formatF(12345.678, 9, 2), " 12345.68");
}

TEST(FormatF, LeadingZeroIsDroppedOnlyWhenTheFieldIsTooNarrow) {
    EXPECT_EQ(formatF(0.5, 4, 2), "0.50");
    EXPECT_EQ(formatF(0.5, 3, 2), ".50");
    EXPECT_EQ(formatF(-0.5, 5, 2), "-0.50");
    EXPECT_EQ(formatF(-0.5, 4, 2), "-.50");
    EXPECT_EQ(formatF(0.0, 3, 2), ".00");
    EXPECT_EQ(formatF(0.5, 2, 2), "**");
    EXPECT_EQ(formatF(0.3, 3, 0), " 0.");  // with d = 0 the zero is the only digit and stays
    EXPECT_EQ(formatF(0.3, 1, 0), "*");
}

TEST(FormatF, NegativeZeroAndValuesRoundingToZero) {
    EXPECT_EQ(formatF(0.0, 5, 2), " 0.00");
    EXPECT_EQ(formatF(-0.0, 5, 2), " 0.00");   // an exact zero has no sign
    EXPECT_EQ(formatF(-0.001, 5, 2), "-0.00"); // a negative value keeps it
    EXPECT_EQ(formatF(-0.004, 4, 2), "-.00");
    EXPECT_EQ(formatF(-1e-300, 6, 2), " -0.00");
    EXPECT_EQ(formatF(1e-300, 6, 2), "  0.00");
    EXPECT_EQ(formatF(std::numeric_limits<double>::denorm_min(), 10, 3), "     0.000");
}

TEST(FormatF, JustFitsAndJustOverflows) {
    EXPECT_EQ(formatF(99.995, 5, 2), "*****");   // 99.99500000000000454...: above the half, rounds to 100.00
    EXPECT_EQ(formatF(99.995, 6, 2), "100.00");
    EXPECT_EQ(formatF(99.99, 5, 2), "99.99");
    EXPECT_EQ(formatF(9.95, 3, 1), "9.9");       // 9.94999999999999928...: below the half, fits
    EXPECT_EQ(formatF(999.5, 5, 0), "1000.");    // exact tie rounds up into a fifth character
    EXPECT_EQ(formatF(999.5, 4, 0), "****");
    EXPECT_EQ(formatF(9.96, 3, 1), "***");       // rounds to 10.0
    EXPECT_EQ(formatF(-12.5, 5, 1), "-12.5");
    EXPECT_EQ(formatF(-12.5, 4, 1), "****");
    EXPECT_EQ(formatF(9999999.0, 9, 1), "9999999.0");
    EXPECT_EQ(formatF(10000000.0, 9, 1), "*********");
    EXPECT_EQ(formatF(1e300, 10, 2), "**********");
}

TEST(FormatF, NonFiniteValuesPrintAsterisks) {
    EXPECT_EQ(formatF(std::nan(""), 6, 2), "******");
    EXPECT_EQ(formatF(std::numeric_limits<double>::infinity(), 6, 2), "******");
    EXPECT_EQ(formatF(-std::numeric_limits<double>::infinity(), 4, 1), "****");
}

TEST(FormatE, TypicalValues) {
    EXPECT_EQ(formatE(9999999.0, 9, 2), " 0.10E+08");
    EXPECT_EQ(formatE(29000000.0, 10, 3), " 0.290E+08");
    EXPECT_EQ(formatE(1.0, 9, 2), " 0.10E+01");
    EXPECT_EQ(formatE(0.5, 9, 2), " 0.50E+00");
    EXPECT_EQ(formatE(0.01, 9, 2), " 0.10E-01");
    EXPECT_EQ(formatE(1234.5, 10, 3), " 0.123E+04");
    EXPECT_EQ(formatE(0.0001234, 11, 4), " 0.1234E-03");
}

TEST(FormatE, Zero) {
    EXPECT_EQ(formatE(0.0, 9, 2), " 0.00E+00");
    EXPECT_EQ(formatE(-0.0, 9, 2), " 0.00E+00");
    EXPECT_EQ(formatE(0.0, 10, 3), " 0.000E+00");
}

TEST(FormatE, Negatives) {
    EXPECT_EQ(formatE(-9999999.0, 9, 2), "-0.10E+08");  // fits exactly
    EXPECT_EQ(formatE(-9999999.0, 8, 2), "-.10E+08");   // leading zero dropped
    EXPECT_EQ(formatE(-9999999.0, 7, 2), "*******");
    EXPECT_EQ(formatE(-0.125, 10, 2), " -0.13E+00");
}

TEST(FormatE, RoundingHalfAwayAndCarryIntoTheExponent) {
    EXPECT_EQ(formatE(0.125, 9, 2), " 0.13E+00");         // exact tie
    EXPECT_EQ(formatE(99.5, 9, 2), " 0.10E+03");          // exact tie, carries into the exponent
    EXPECT_EQ(formatE(9.9951171875, 9, 2), " 0.10E+02");  // exact binary value above the half
    EXPECT_EQ(formatE(0.995, 9, 2), " 0.99E+00");         // 0.99499999999999999... is below it
    EXPECT_EQ(formatE(-99.5, 9, 2), "-0.10E+03");
    // Just below and at powers of ten, where the decimal exponent is found by trial.
    EXPECT_EQ(formatE(std::nextafter(1000.0, 0.0), 11, 4), " 0.1000E+04");
    EXPECT_EQ(formatE(0.00099994999, 11, 4), " 0.9999E-03");
    EXPECT_EQ(formatE(1e-5, 11, 4), " 0.1000E-04");
    // More digits than a double holds exactly in a short decimal: the exact binary value shows.
    EXPECT_EQ(formatE(0.1, 25, 18), " 0.100000000000000006E+00");
}

TEST(FormatE, LargeExponentsDropTheLetter) {
    EXPECT_EQ(formatE(1e-100, 9, 2), " 0.10E-99");
    EXPECT_EQ(formatE(1e100, 9, 2), " 0.10+101");
    EXPECT_EQ(formatE(1e-101, 9, 2), " 0.10-100");
    EXPECT_EQ(formatE(-1e308, 9, 2), "-0.10+309");
    EXPECT_EQ(formatE(std::numeric_limits<double>::denorm_min(), 9, 2), " 0.49-323");
}

TEST(FormatE, NonFiniteValuesPrintAsterisks) {
    EXPECT_EQ(formatE(std::nan(""), 9, 2), "*********");
    EXPECT_EQ(formatE(std::numeric_limits<double>::infinity(), 9, 2), "*********");
}

TEST(FormatI, RightAlignedAndOverflow) {
    EXPECT_EQ(formatI(42, 5), "   42");
    EXPECT_EQ(formatI(0, 1), "0");
    EXPECT_EQ(formatI(-42, 3), "-42");
    EXPECT_EQ(formatI(-42, 2), "**");
    EXPECT_EQ(formatI(99999, 5), "99999");
    EXPECT_EQ(formatI(100000, 5), "*****");
}

TEST(Line, BuildsARecordFromPieces) {
    Line line;
    line.x(3).a("DEPTH").f(12.25, 8, 2).i(7, 4).x(0).e(0.5, 10, 3).x(-1);
    EXPECT_EQ(line.str(), "   DEPTH   12.25   7 0.500E+00");
    EXPECT_EQ(Line().str(), "");
}

}  // namespace
}  // namespace pileaxial::textio
