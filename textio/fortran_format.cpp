#include "textio/fortran_format.hpp"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string>
#include <tuple>
#include <utility>

namespace pileaxial::textio {
namespace {

std::string stars(int width) { return std::string(static_cast<std::size_t>(std::max(width, 0)), '*'); }

std::string rightAligned(const std::string& text, int width) {
    if (static_cast<int>(text.size()) > width) return stars(width);
    return std::string(static_cast<std::size_t>(width) - text.size(), ' ') + text;
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

namespace {

// Significant digits of |value| as "D.DDD...e+XX" rounded half away from zero to `digits` significant
// digits, written into `buffer`; returns the decimal exponent of the form 0.DDD * 10^exponent.  The
// digits are taken from a correctly rounded conversion with 4 guard digits: the rounding decision can
// only differ from one on the exact value when the guard digits read 5000, and only then (a tie, or
// within 5 units of the fifth guard digit of one) is the value converted exactly (a double has at most about 770 significant decimal digits).
int roundedSignificand(double magnitude, int digits, char* out) {
    constexpr int kGuardDigits = 4;
    char buffer[1100];
    const auto convert = [&](int precision) {
        return std::to_chars(buffer, buffer + sizeof buffer, magnitude, std::chars_format::scientific, precision).ptr;
    };
    char* end = convert(digits + kGuardDigits);
    const auto exponentAt = [&](const char* stop) {
        const char* e = std::find(static_cast<const char*>(buffer), stop, 'e');
        int exponent = 0;
        std::from_chars(e + (e[1] == '+' ? 2 : 1), stop, exponent);
        return std::pair<const char*, int>(e, exponent);
    };
    auto [ePos, exponent] = exponentAt(end);
    // Mantissa digits without the point: buffer[0], buffer[2..ePos).
    const auto digitAt = [&](int i) { return i == 0 ? buffer[0] : buffer[i + 1]; };
    bool tie = digitAt(digits) == '5';
    for (int i = digits + 1; tie && i <= digits + kGuardDigits; ++i) tie = digitAt(i) == '0';
    if (tie) {
        // Enough significant digits for the exact value: M * 5^k has at most 17 + 0.7 k digits for
        // k = fractionBits > 0, and M * 2^-k at most 17 + 0.302 |k| for k <= 0.
        const int k = fractionBits(magnitude);
        const int significant = k > 0 ? 18 + (7 * k) / 10 : 19 + (3 * -k) / 10;
        end = convert(std::max(digits, significant));
        std::tie(ePos, exponent) = exponentAt(end);
    }
    for (int i = 0; i < digits; ++i) out[i] = digitAt(i);
    ++exponent;
    if (digitAt(digits) >= '5') {
        int i = digits - 1;
        while (i >= 0 && out[i] == '9') out[i--] = '0';
        if (i >= 0) {
            ++out[i];
        } else {
            out[0] = '1';  // 0.999.. rounded up to 1.000.. is 0.100.. one power higher
            ++exponent;
        }
    }
    return exponent;
}

}  // namespace

void appendE(std::string& out, double value, int width, int decimals) {
    const auto fill = [&] { out.append(static_cast<std::size_t>(std::max(width, 0)), '*'); };
    if (!std::isfinite(value) || decimals < 1 || decimals > 300) return fill();
    const int d = decimals;
    const double magnitude = std::fabs(value);

    char digits[320];
    std::fill(digits, digits + d, '0');
    const int exponent = magnitude != 0.0 ? roundedSignificand(magnitude, d, digits) : 0;

    char exponentText[8];
    int exponentLength = 0;
    const int absExponent = std::abs(exponent);
    if (absExponent <= 99) {
        exponentText[exponentLength++] = 'E';
    } else if (absExponent > 999) {
        return fill();
    }
    exponentText[exponentLength++] = exponent < 0 ? '-' : '+';
    if (absExponent < 10) exponentText[exponentLength++] = '0';
    exponentLength = static_cast<int>(std::to_chars(exponentText + exponentLength, exponentText + 8, absExponent).ptr -
                                      exponentText);

    // "-0.DDDE+XX"; the leading zero goes when the field is too narrow for it.
    const bool negative = value < 0.0;
    int length = (negative ? 1 : 0) + 2 + d + exponentLength;
    bool leadingZero = true;
    if (length > width) {
        leadingZero = false;
        --length;
    }
    if (length > width) return fill();
    out.append(static_cast<std::size_t>(width - length), ' ');
    if (negative) out.push_back('-');
    if (leadingZero) out.push_back('0');
    out.push_back('.');
    out.append(digits, static_cast<std::size_t>(d));
    out.append(exponentText, static_cast<std::size_t>(exponentLength));
}

std::string formatE(double value, int width, int decimals) {
    std::string out;
    appendE(out, value, width, decimals);
    return out;
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
    appendE(text_, value, width, decimals);
    return *this;
}

Line& Line::i(long long value, int width) {
    text_ += formatI(value, width);
    return *this;
}

}  // namespace pileaxial::textio
