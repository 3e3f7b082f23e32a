#include "textio/fortran_format.hpp"

#include <algorithm>
#include <charconv>
#include <array>
#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
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


__extension__ typedef unsigned __int128 Wide;

constexpr std::array<std::uint64_t, 20> kPow10 = {
    1ULL,           10ULL,           100ULL,           1000ULL,           10000ULL,
    100000ULL,      1000000ULL,      10000000ULL,      100000000ULL,      1000000000ULL,
    10000000000ULL, 100000000000ULL, 1000000000000ULL, 10000000000000ULL, 100000000000000ULL,
    1000000000000000ULL, 10000000000000000ULL, 100000000000000000ULL, 1000000000000000000ULL,
    10000000000000000000ULL};

// |value| x 10^p by exact integer arithmetic on the binary value M x 2^e: its integer part, and
// whether the fraction is at least one half (rounding half away from zero adds one then).  False when
// the operands would not fit 128 bits or the integer part not 64 (very large, very small or
// subnormal values, which take the general conversions instead).
struct ScaledValue {
    std::uint64_t integer = 0;
    bool halfOrMore = false;
};
bool ScaleExactly(double magnitude, int p, ScaledValue& out) {
    if (p > 19 || p < -19) return false;
    // magnitude = m x 2^e with an integer m below 2^53 (read off the bits; subnormals have no hidden bit).
    const auto bits = std::bit_cast<std::uint64_t>(magnitude);
    const int biased = static_cast<int>((bits >> 52) & 0x7FF);
    std::uint64_t m = bits & ((std::uint64_t{1} << 52) - 1);
    int e = 0;
    if (biased == 0) {
        e = -1074;
    } else {
        m |= std::uint64_t{1} << 52;
        e = biased - 1075;
    }
    const std::uint64_t tenP = kPow10[static_cast<std::size_t>(p < 0 ? -p : p)];
    const int tenBits = 64 - std::countl_zero(tenP);
    if (53 + std::max(e, 0) + (p > 0 ? tenBits : 0) > 127) return false;
    if (std::max(-e, 0) + (p < 0 ? tenBits : 0) > 125) return false;
    Wide numerator = m;
    if (e > 0) numerator <<= e;
    if (p > 0) numerator *= tenP;
    Wide integer = 0;
    if (p >= 0) {
        // Dividing by a power of two: a shift, and the half is the highest bit shifted out.
        const int shift = std::max(-e, 0);
        integer = shift == 0 ? numerator : numerator >> shift;
        out.halfOrMore = shift > 0 && ((numerator >> (shift - 1)) & 1) != 0;
    } else {
        Wide denominator = tenP;
        if (e < 0) denominator <<= -e;
        integer = numerator / denominator;
        out.halfOrMore = 2 * (numerator % denominator) >= denominator;
    }
    if (integer >= std::numeric_limits<std::uint64_t>::max()) return false;
    out.integer = static_cast<std::uint64_t>(integer);
    return true;
}

}  // namespace

// Rounding is half away from zero on the exact binary value.  Values of ordinary size are scaled by
// 10^d in exact integer arithmetic and rounded there.  For the others a value can only lie exactly half
// way between two d-decimal numbers when it is an odd multiple of 2^-(d+1); only then are its d+1
// decimals produced exactly and rounded here.  Every other value is converted correctly rounded by
// to_chars, which cannot differ from rounding half away from zero when there is no tie.
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
    // Adds one in the last place kept (the digits before `last`), carrying through the point.
    const auto roundUp = [&] {
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
    };
    if (ScaledValue scaledValue; ScaleExactly(magnitude, d, scaledValue)) {
        // The value rounded to d decimals as an integer count of 10^-d, written with its point.
        const std::uint64_t units = scaledValue.integer + (scaledValue.halfOrMore ? 1 : 0);
        // At least d + 1 digits ("0.05" for 5 hundredths), the point before the last d of them.
        char text[48];
        char* const digitsEnd = std::to_chars(text + 24, text + sizeof text, units).ptr;
        char* digitsBegin = text + 24;
        while (digitsEnd - digitsBegin < d + 1) *--digitsBegin = '0';
        const long integerDigits = (digitsEnd - digitsBegin) - d;
        for (long i = 0; i < digitsEnd - digitsBegin; ++i) {
            if (i == integerDigits) *last++ = '.';
            *last++ = digitsBegin[i];
        }
    } else if (const double scaled = std::ldexp(magnitude, d + 1); scaled == std::floor(scaled)) {
        // At most d+1 binary places: d+1 decimals are exact.
        last = std::to_chars(first, buffer + sizeof buffer, magnitude, std::chars_format::fixed, d + 1).ptr;
        const bool up = *--last >= '5';
        if (d == 0) --last;  // the point before the dropped decimal
        if (up) roundUp();
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

// Significant digits of |value| rounded half away from zero to `digits` significant digits, written to
// `out`; returns the decimal exponent of the form 0.DDD * 10^exponent.
//
// Up to 15 digits of a value of ordinary size are found in exact integer arithmetic.  Otherwise the
// digits come from the shortest decimal S that reads back as the value.  Rounding S to `digits`
// digits gives the same result as rounding the exact binary value, except when S ends exactly on the
// half-way point M: the value lies within half a unit in the last place of S, and a half-way point
// strictly between the value and S would itself read back as the value while being no longer than S,
// so S would not be the shortest (or, of equal length, the nearest).  This needs the spacing of
// `digits`-digit decimals to be wide against the value's own precision: up to 15 digits of a normal
// double.  Otherwise, and when S is M, the value is converted exactly (a double has at most about 770
// significant decimal digits).
int roundedSignificand(double magnitude, int digits, char* out) {
    if (digits <= 15) {
        // Exactly, in integers: the decimal exponent from the binary one (at most one off), checked
        // against the integer part of the scaled value, then rounded.
        int binaryExponent = 0;
        std::frexp(magnitude, &binaryExponent);
        int e10 = static_cast<int>(std::floor((binaryExponent - 1) * 0.30102999566398120));
        const std::uint64_t low = kPow10[static_cast<std::size_t>(digits - 1)];
        const std::uint64_t high = kPow10[static_cast<std::size_t>(digits)];
        ScaledValue scaled;
        for (int attempt = 0; attempt < 4 && ScaleExactly(magnitude, digits - 1 - e10, scaled); ++attempt) {
            if (scaled.integer >= high) {
                ++e10;
            } else if (scaled.integer < low) {
                --e10;
            } else {
                std::uint64_t q = scaled.integer + (scaled.halfOrMore ? 1 : 0);
                if (q == high) {  // 9.99..95 rounds up to 10.0..: one power higher
                    q = low;
                    ++e10;
                }
                std::to_chars(out, out + digits, q);
                return e10 + 1;
            }
        }
    }
    char buffer[1100];
    char* end = std::to_chars(buffer, buffer + sizeof buffer, magnitude, std::chars_format::scientific).ptr;
    const auto split = [&](const char* stop, int& count) {
        // "D.DDDe+XX" or "De+XX": mantissa digits without the point, and the exponent.
        const char* e = std::find(static_cast<const char*>(buffer), stop, 'e');
        count = static_cast<int>(e - buffer) - (e - buffer > 1 ? 1 : 0);
        int exponent = 0;
        std::from_chars(e + (e[1] == '+' ? 2 : 1), stop, exponent);
        return exponent;
    };
    int count = 0;
    int exponent = split(end, count);
    const auto digitAt = [&](int i) { return i >= count ? '0' : (i == 0 ? buffer[0] : buffer[i + 1]); };
    const bool shortestDecides = digits <= 15 && magnitude >= std::numeric_limits<double>::min();
    if (!shortestDecides || (count == digits + 1 && digitAt(digits) == '5')) {
        // Enough significant digits for the exact value: M * 5^k has at most 17 + 0.7 k digits for
        // k = fractionBits > 0, and M * 2^-k at most 17 + 0.302 |k| for k <= 0.
        const int k = fractionBits(magnitude);
        const int significant = k > 0 ? 18 + (7 * k) / 10 : 19 + (3 * -k) / 10;
        end = std::to_chars(buffer, buffer + sizeof buffer, magnitude, std::chars_format::scientific,
                            std::max(digits, significant)).ptr;
        exponent = split(end, count);
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
    // The number is built in place and appended once, after its padding.
    out.append(static_cast<std::size_t>(width - length), ' ');
    char field[320];
    char* p = field;
    if (negative) *p++ = '-';
    if (leadingZero) *p++ = '0';
    *p++ = '.';
    p = std::copy_n(digits, d, p);
    p = std::copy_n(exponentText, exponentLength, p);
    out.append(field, static_cast<std::size_t>(p - field));
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
