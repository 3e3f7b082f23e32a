#pragma once
// Fixed-column text output in the manner of Fortran edit descriptors.  Every report and plot-data line
// is built from these pieces so that the columns of the report never drift.
//
//   Fw.d  right-aligned fixed point, w characters, d decimals, rounded half away from zero on the exact
//         binary value; the leading zero of a value below 1 is dropped only when the field is too
//         narrow for it; a value that does not fit prints as w asterisks.
//   Ew.d  right-aligned 0.ddE+xx form (9999999 in E9.2 is " 0.10E+08"); exponents beyond +-99 drop the
//         letter (0.10+100) as Fortran does.
//   Iw    right-aligned integer, asterisks when it does not fit.
//   nX    n blanks.
// A value that is negative but rounds to zero keeps its minus sign ("-0.00"): in the report a negative
// self weight of a few pounds is still a buoyant weight.  An exact zero prints without a sign, whatever
// the sign bit.
#include <string>
#include <string_view>

namespace pileaxial::textio {

std::string formatF(double value, int width, int decimals);
std::string formatE(double value, int width, int decimals);
std::string formatI(long long value, int width);

// One output record under construction.
class Line {
public:
    Line() = default;
    Line& x(int blanks);                         // nX
    Line& a(std::string_view text);              // literal text
    Line& f(double value, int width, int decimals);
    Line& e(double value, int width, int decimals);
    Line& i(long long value, int width);
    const std::string& str() const { return text_; }
    // Empties the record, keeping its storage for the next one.
    Line& clear() {
        text_.clear();
        return *this;
    }

private:
    std::string text_;
};

}  // namespace pileaxial::textio
