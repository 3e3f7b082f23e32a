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
std::string formatF(double value, int width, int decimals) {
    if (!std::isfinite(value)) return stars(width);
    const int d = std::clamp(decimals, 0, 100);
    const double magnitude = std::fabs(value);

    char buffer[512];
    char* const end = buffer + sizeof buffer;
    std::string intDigits;
    std::string fracDigits;
    const double scaled = std::ldexp(magnitude, d + 1);
    if (scaled == std::floor(scaled)) {
        // At most d+1 binary places: d+1 decimals are exact.
        const auto result = std::to_chars(buffer, end, magnitude, std::chars_format::fixed, d + 1);
        const std::string text(buffer, result.ptr);
        const std::size_t point = text.find('.');
        intDigits = text.substr(0, point);
        fracDigits = text.substr(point + 1, static_cast<std::size_t>(d));
        if (text.back() >= '5') {
            std::string all = intDigits + fracDigits;
            if (incrementDigits(all)) all.insert(all.begin(), '1');
            intDigits = all.substr(0, all.size() - static_cast<std::size_t>(d));
            fracDigits = all.substr(all.size() - static_cast<std::size_t>(d));
        }
    } else {
        const auto result = std::to_chars(buffer, end, magnitude, std::chars_format::fixed, d);
        const std::string_view text(buffer, static_cast<std::size_t>(result.ptr - buffer));
        const std::size_t point = text.find('.');
        intDigits = std::string(text.substr(0, point));
        if (point != std::string_view::npos) fracDigits = std::string(text.substr(point + 1));
    }

    // A negative value keeps its sign even when it rounds to zero; an exact zero (of either sign) has none.
    const std::string sign = (value < 0.0) ? "-" : "";
    std::string text = sign + intDigits + "." + fracDigits;
    // The optional leading zero goes only when the field is too narrow for it (and a digit remains).
    if (static_cast<int>(text.size()) > width && intDigits == "0" && d > 0) text = sign + "." + fracDigits;
    return rightAligned(text, width);
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
    text_ += formatF(value, width, decimals);
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
