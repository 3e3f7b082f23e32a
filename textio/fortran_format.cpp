#include "textio/fortran_format.hpp"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string>

namespace pileaxial::textio {
namespace {

std::string stars(int width) { return std::string(static_cast<std::size_t>(std::max(width, 0)), '*'); }

std::string rightAligned(const std::string& text, int width) {
    if (static_cast<int>(text.size()) > width) return stars(width);
    return std::string(static_cast<std::size_t>(width) - text.size(), ' ') + text;
}

// Adds one unit in the last place of a string of decimal digits; returns true when the carry runs out
// of the left end (the digits were all nines and are now all zeros).
bool incrementDigits(std::string& digits) {
    for (auto it = digits.rbegin(); it != digits.rend(); ++it) {
        if (*it != '9') {
            ++*it;
            return false;
        }
        *it = '0';
    }
    return true;
}

// Number of binary digits after the point in the exact value of a finite, nonzero double: the value is
// M * 2^(e-53) with an integer M below 2^53.
int fractionBits(double magnitude) {
    int e = 0;
    std::frexp(magnitude, &e);
    return 53 - e;
}

}  // namespace

// Rounding is half away from zero on the exact binary value.  A value can only lie exactly half way
// between two d-decimal numbers when it is an odd multiple of 2^-(d+1); only then are its d+1 decimals
// produced exactly and rounded here.  Every other value is converted correctly rounded by to_chars,
// which cannot differ from rounding half away from zero when there is no tie.
void appendF(std::string& out, double value, int width, int decimals) {
    if (!std::isfinite(value)) {
        out.append(static_cast<std::size_t>(std::max(width, 0)), '*');
        return;
    }
    const int d = std::clamp(decimals, 0, 100);
    const double magnitude = std::fabs(value);

    // buffer[0] is kept free for a carry out of the leading digit.
    char buffer[512];
    char* const first = buffer + 1;
    char* start = first;
    char* last = first;  // one past the digits
    const double scaled = std::ldexp(magnitude, d + 1);
    if (scaled == std::floor(scaled)) {
        // At most d+1 binary places: d+1 decimals are exact.
        last = std::to_chars(first, buffer + sizeof buffer, magnitude, std::chars_format::fixed, d + 1).ptr;
        const bool roundUp = *--last >= '5';
        if (d == 0) --last;  // the point before the dropped decimal
        if (roundUp) {
            bool carry = true;
            for (char* p = last; carry && p != first;) {
                --p;
                if (*p == '.') continue;
                if (*p == '9') {
                    *p = '0';
                } else {
                    ++*p;
                    carry = false;
                }
            }
            if (carry) *--start = '1';  // all nines: one more integer digit
        }
    } else {
        last = std::to_chars(first, buffer + sizeof buffer, magnitude, std::chars_format::fixed, d).ptr;
    }
    std::string_view digits(start, static_cast<std::size_t>(last - start));
    const bool withPoint = d > 0;
    // A negative value keeps its sign even when it rounds to zero; an exact zero (of either sign) has none.
    const bool negative = value < 0.0;
    std::size_t length = digits.size() + (withPoint ? 0 : 1) + (negative ? 1 : 0);
    // The optional leading zero goes only when the field is too narrow for it (and a digit remains).
    if (static_cast<int>(length) > width && withPoint && digits.size() > 1 && digits[0] == '0' && digits[1] == '.') {
        digits.remove_prefix(1);
        --length;
    }
    if (static_cast<int>(length) > width) {
        out.append(static_cast<std::size_t>(std::max(width, 0)), '*');
        return;
    }
    out.append(static_cast<std::size_t>(width) - length, ' ');
    if (negative) out.push_back('-');
    out.append(digits);
    if (!withPoint) out.push_back('.');
}

std::string formatF(double value, int width, int decimals) {
    std::string out;
    appendF(out, value, width, decimals);
    return out;
}

std::string formatE(double value, int width, int decimals) {
    if (!std::isfinite(value) || decimals < 1) return stars(width);
    const int d = decimals;
    const double magnitude = std::fabs(value);

    std::string digits(static_cast<std::size_t>(d), '0');
    int exponent = 0;  // of the form 0.ddd * 10^exponent
    if (magnitude != 0.0) {
        // Enough significant digits for the exact value: M * 5^k has at most 17 + 0.7 k digits for
        // k = fractionBits > 0, and M * 2^-k at most 17 + 0.302 |k| for k <= 0.
        const int k = fractionBits(magnitude);
        const int significant = k > 0 ? 18 + (7 * k) / 10 : 19 + (3 * -k) / 10;
        const int precision = std::max(d, significant);
        std::string buffer(static_cast<std::size_t>(precision) + 16, '\0');
        const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), magnitude,
                                          std::chars_format::scientific, precision);
        const std::string text(buffer.data(), result.ptr);  // "D.DDDDe+XX"
        const std::size_t ePos = text.find('e');
        const std::string all = text.substr(0, 1) + text.substr(2, ePos - 2);
        exponent = std::stoi(text.substr(ePos + 1)) + 1;
        digits = all.substr(0, static_cast<std::size_t>(d));
        if (all[static_cast<std::size_t>(d)] >= '5' && incrementDigits(digits)) {
            digits[0] = '1';  // 0.999.. rounded up to 1.000.. is 0.100.. one power higher
            ++exponent;
        }
    }

    std::string exponentText;
    const int absExponent = std::abs(exponent);
    if (absExponent <= 99) {
        exponentText = std::string(exponent < 0 ? "E-" : "E+") + (absExponent < 10 ? "0" : "") +
                       std::to_string(absExponent);
    } else if (absExponent <= 999) {
        exponentText = (exponent < 0 ? "-" : "+") + std::to_string(absExponent);
    } else {
        return stars(width);
    }

    const std::string sign = (value < 0.0) ? "-" : "";
    std::string text = sign + "0." + digits + exponentText;
    if (static_cast<int>(text.size()) > width) text = sign + "." + digits + exponentText;
    return rightAligned(text, width);
}

std::string formatI(long long value, int width) { return rightAligned(std::to_string(value), width); }

Line& Line::x(int blanks) {
    if (blanks > 0) text_.append(static_cast<std::size_t>(blanks), ' ');
    return *this;
}

Line& Line::a(std::string_view text) {
    text_.append(text);
    return *this;
}

Line& Line::f(double value, int width, int decimals) {
    appendF(text_, value, width, decimals);
    return *this;
}

Line& Line::e(double value, int width, int decimals) {
    text_ += formatE(value, width, decimals);
    return *this;
}

Line& Line::i(long long value, int width) {
    text_ += formatI(value, width);
    return *this;
}

}  // namespace pileaxial::textio
