#include "textio/list_reader.hpp"

#include <charconv>
#include <cstdint>
#include <limits>
#include <stdexcept>
#include <utility>

namespace pileaxial::textio {
namespace {

// pos_ holds this while a read has begun but has not yet taken its first line.
constexpr std::size_t kNoLine = std::string::npos;

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// A value as a message shows it: in quotes, cut to 40 characters (not inside a multi-byte character),
// control bytes written as \xNN.  A stray byte such as a NUL would otherwise end the message early or
// garble the terminal, and a run-together line would fill the screen.
std::string quoted(std::string_view text) {
    constexpr std::size_t kShown = 40;
    std::size_t shown = text.size();
    if (shown > kShown) {
        shown = kShown;
        while (shown > 0 && (static_cast<unsigned char>(text[shown]) & 0xC0) == 0x80) --shown;
    }
    constexpr char kHex[] = "0123456789ABCDEF";
    std::string out = "\"";
    for (const char c : text.substr(0, shown)) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F) {
            out += "\\x";
            out += kHex[byte >> 4];
            out += kHex[byte & 0x0F];
        } else {
            out += c;
        }
    }
    out += '"';
    if (shown < text.size()) out += "... (" + std::to_string(text.size()) + " characters)";
    return out;
}

std::string fieldPart(std::string_view field) {
    return field.empty() ? std::string() : ", field " + std::string(field);
}

enum class Parse { Ok, Invalid, OutOfRange };

// An integer literal: optional sign and at least one digit, nothing else.
Parse parseInt(std::string_view text, int& out) {
    std::string_view digits = text;
    if (!digits.empty() && (digits.front() == '+' || digits.front() == '-')) digits.remove_prefix(1);
    if (digits.empty()) return Parse::Invalid;
    for (char c : digits)
        if (!isDigit(c)) return Parse::Invalid;
    if (text.front() == '+') text.remove_prefix(1);  // from_chars takes '-' only
    int value = 0;
    const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
    if (result.ec == std::errc::result_out_of_range) return Parse::OutOfRange;
    out = value;
    return Parse::Ok;
}

// A real literal: [sign] digits [. [digits]] | [sign] . digits, at least one digit, then optionally an
// exponent: a letter E, D or Q (either case) with an optionally signed integer, or a sign and an integer
// without letter (the Fortran form 1.0+3).  Converted with correct rounding by from_chars, which unlike
// strtod does not depend on the locale.  A result beyond the range of a double is an error; one too
// small for it reads as zero.
// Most input values are short decimals ("115", "0.75", "-12.5").  When the digits make an integer M of
// at most 15 digits and the decimal point stands k <= 22 places from the end, M and 10^k are exact
// doubles and the single division M / 10^k is the correctly rounded value, the same as from_chars
// gives.  Returns false when the text is not of that simple form.
bool parseShortDecimal(std::string_view text, double& out) {
    constexpr double kPowersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                                       1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
    std::size_t i = 0;
    const std::size_t n = text.size();
    bool negative = false;
    if (i < n && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    std::uint64_t mantissa = 0;
    int digits = 0;
    int decimals = 0;
    bool point = false;
    bool anyDigit = false;
    for (; i < n; ++i) {
        const char c = text[i];
        if (isDigit(c)) {
            anyDigit = true;
            if (mantissa != 0 || c != '0') ++digits;
            if (digits > 15) return false;
            mantissa = mantissa * 10 + static_cast<std::uint64_t>(c - '0');
            if (point) ++decimals;
        } else if (c == '.' && !point) {
            point = true;
        } else {
            return false;
        }
    }
    if (decimals > 22 || !anyDigit) return false;
    const double value = static_cast<double>(mantissa) / kPowersOfTen[decimals];
    out = negative ? -value : value;
    return true;
}

Parse parseReal(std::string_view text, double& out) {
    if (parseShortDecimal(text, out)) return Parse::Ok;
    std::size_t i = 0;
    const std::size_t n = text.size();
    std::string normal;
    normal.reserve(n + 1);
    bool negative = false;
    if (i < n && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        if (negative) normal += '-';
        ++i;
    }
    std::string mantissa;  // all mantissa digits, without the point
    std::size_t integerDigits = 0;
    for (; i < n && isDigit(text[i]); ++i, ++integerDigits) mantissa += text[i];
    if (i < n && text[i] == '.')
        for (++i; i < n && isDigit(text[i]); ++i) mantissa += text[i];
    if (mantissa.empty()) return Parse::Invalid;
    normal += mantissa.substr(0, integerDigits) + "." + mantissa.substr(integerDigits);

    long exponent = 0;
    if (i < n) {
        const char c = text[i];
        const bool letter = c == 'E' || c == 'e' || c == 'D' || c == 'd' || c == 'Q' || c == 'q';
        if (!letter && c != '+' && c != '-') return Parse::Invalid;
        if (letter) ++i;
        normal += 'e';
        bool exponentNegative = false;
        if (i < n && (text[i] == '+' || text[i] == '-')) {
            exponentNegative = text[i] == '-';
            normal += text[i++];
        }
        const std::size_t start = i;
        for (; i < n && isDigit(text[i]); ++i) {
            normal += text[i];
            if (exponent < 1000000) exponent = exponent * 10 + (text[i] - '0');
        }
        if (i == start || i != n) return Parse::Invalid;
        if (exponentNegative) exponent = -exponent;
    }

    double value = 0.0;
    const auto result = std::from_chars(normal.data(), normal.data() + normal.size(), value);
    if (result.ec == std::errc::result_out_of_range) {
        // Overflow or underflow: tell them apart by the decimal order of the first nonzero digit.
        const std::size_t first = mantissa.find_first_not_of('0');
        const long order = static_cast<long>(integerDigits) - static_cast<long>(first) - 1 + exponent;
        if (order >= 0) return Parse::OutOfRange;
        value = negative ? -0.0 : 0.0;
    } else if (result.ec != std::errc() || result.ptr != normal.data() + normal.size()) {
        return Parse::Invalid;
    }
    out = value;
    return Parse::Ok;
}

}  // namespace

ListReader::ListReader(std::istream& in, std::string fileName) : in_(in), fileName_(std::move(fileName)) {}

bool ListReader::loadLine() {
    if (!std::getline(in_, line_)) {
        line_.clear();
        pos_ = 0;
        return false;
    }
    if (!line_.empty() && line_.back() == '\r') line_.pop_back();
    ++lineNumber_;
    pos_ = 0;
    if (inRead_) {
        if (current_.firstLine == 0) current_.firstLine = lineNumber_;
        current_.lastLine = lineNumber_;
    }
    return true;
}

std::string ListReader::spreadNote() const {
    const Trace* spread = current_.spread() ? &current_ : lastSpread_.spread() ? &lastSpread_ : nullptr;
    if (spread == nullptr) return {};
    return " (record " + spread->record + " took its values from lines " + std::to_string(spread->firstLine) +
           "-" + std::to_string(spread->lastLine) + ")";
}

std::string ListReader::message(int line, std::string_view record, std::string_view field,
                                const std::string& problem) const {
    return fileName_ + ", line " + std::to_string(line) + ", record " + std::string(record) + fieldPart(field) +
           ": " + problem + spreadNote();
}

void ListReader::fail(std::string_view field, const std::string& problem) const {
    throw InputError(message(lineNumber_, record_, field, problem));
}

void ListReader::endOfFile(std::string_view record, std::string_view field) const {
    if (in_.bad()) {
        throw InputError(message(lineNumber_ + 1, record, field, "the file cannot be read at this line"));
    }
    if (lineNumber_ == 0) throw InputError(message(1, record, field, "the file is empty"));
    if (inRead_ && current_.firstLine > 0) {
        throw InputError(message(lineNumber_, record, field, "the file ends after this line, before this value"));
    }
    throw InputError(message(lineNumber_ + 1, record, field,
                             "the file ends before this record; it has only " + std::to_string(lineNumber_) +
                                 (lineNumber_ == 1 ? " line" : " lines")));
}

int ListReader::lineOf(std::string_view record, std::string_view field) const {
    for (const Trace* trace : {&current_, &previous_}) {
        if (trace->record != record || trace->firstLine == 0) continue;
        for (int i = 0; i < trace->fieldCount; ++i) {
            if (trace->fieldLines[static_cast<std::size_t>(i)].first == field) {
                return trace->fieldLines[static_cast<std::size_t>(i)].second;
            }
        }
        return trace->lastLine;
    }
    return lineNumber_;
}

void ListReader::refuse(std::string_view record, std::string_view field, const std::string& problem) const {
    throw InputError(message(lineOf(record, field), record, field, problem));
}

std::optional<std::string> ListReader::tryReadText(std::size_t width) {
    inRead_ = false;
    repeatLeft_ = 0;
    if (!loadLine()) return std::nullopt;
    pos_ = line_.size();
    return line_.substr(0, width);
}

std::string ListReader::readText(std::size_t width, std::string_view record) {
    auto text = tryReadText(width);
    if (!text) endOfFile(record, {});
    return std::move(*text);
}

void ListReader::begin(std::string_view record) {
    if (current_.spread()) lastSpread_ = current_;
    std::swap(previous_, current_);  // the traces keep their storage from read to read
    current_.record = record;
    current_.firstLine = 0;
    current_.lastLine = 0;
    current_.fieldCount = 0;
    record_ = record;
    inRead_ = true;
    afterValue_ = false;
    ended_ = false;
    repeatLeft_ = 0;
    pos_ = kNoLine;  // the first value is looked for on the next line, loaded when first needed
}

ListReader::Token ListReader::nextToken(std::string_view field) {
    if (!inRead_) throw std::logic_error("ListReader: a value is read outside begin() ... finish()");
    if (ended_) return {Kind::End, {}};
    if (repeatLeft_ > 0) {
        --repeatLeft_;
        return repeatNull_ ? Token{Kind::Null, {}} : Token{Kind::Value, repeatText_};
    }
    for (;;) {
        // The end of a line (and the start of the read) acts as a blank: go on with the next line.
        if (pos_ == kNoLine || pos_ >= line_.size()) {
            if (!loadLine()) endOfFile(record_, field);
            continue;
        }
        const char c = line_[pos_];
        if (c == ' ' || c == '\t') {
            ++pos_;
        } else if (c == ',') {
            ++pos_;
            // A comma after a value only separates; one that opens the read or follows another comma
            // closes an empty value.
            if (!afterValue_) return {Kind::Null, {}};
            afterValue_ = false;
        } else if (c == '/') {
            ended_ = true;
            return {Kind::End, {}};
        } else {
            std::size_t end = line_.find_first_of(" \t,/", pos_);
            if (end == std::string::npos) end = line_.size();
            std::string text = line_.substr(pos_, end - pos_);
            pos_ = end;
            afterValue_ = true;
            const std::size_t star = text.find('*');
            if (star == std::string::npos) return {Kind::Value, std::move(text)};

            int count = 0;
            const std::string_view countText = std::string_view(text).substr(0, star);
            bool digitsOnly = !countText.empty();
            for (char d : countText) digitsOnly = digitsOnly && isDigit(d);
            if (!digitsOnly || parseInt(countText, count) != Parse::Ok || count < 1)
                fail(field, quoted(text) + " does not start with a positive repeat count");
            repeatText_ = text.substr(star + 1);
            repeatNull_ = repeatText_.empty();
            repeatLeft_ = count - 1;
            return repeatNull_ ? Token{Kind::Null, {}} : Token{Kind::Value, repeatText_};
        }
    }
}

void ListReader::noteField(std::string_view field) {
    auto& lines = current_.fieldLines;
    const auto n = static_cast<std::size_t>(current_.fieldCount++);
    if (n < lines.size()) {
        lines[n].first.assign(field);
        lines[n].second = lineNumber_;
    } else {
        lines.emplace_back(std::string(field), lineNumber_);
    }
}

void ListReader::item(int& value, std::string_view field) {
    const Token token = nextToken(field);
    noteField(field);
    if (token.kind != Kind::Value) return;
    switch (parseInt(token.text, value)) {
        case Parse::Ok: return;
        case Parse::Invalid: fail(field, quoted(token.text) + " is not an integer");
        case Parse::OutOfRange: fail(field, quoted(token.text) + " is out of the range of an integer");
    }
}

void ListReader::item(double& value, std::string_view field) {
    const Token token = nextToken(field);
    noteField(field);
    if (token.kind != Kind::Value) return;
    switch (parseReal(token.text, value)) {
        case Parse::Ok: return;
        case Parse::Invalid: fail(field, quoted(token.text) + " is not a number");
        case Parse::OutOfRange: fail(field, quoted(token.text) + " is out of the range of a real number");
    }
}

void ListReader::finish() {
    // A read without a value still takes its line.
    if (inRead_ && pos_ == kNoLine && !loadLine()) endOfFile(record_, {});
    inRead_ = false;
    ended_ = false;
    afterValue_ = false;
    repeatLeft_ = 0;
    pos_ = line_.size();  // whatever is left of the last line used is ignored
}

int ListReader::readInt(std::string_view record, std::string_view field) {
    int value = 0;
    begin(record);
    item(value, field);
    finish();
    return value;
}

double ListReader::readReal(std::string_view record, std::string_view field) {
    double value = 0.0;
    begin(record);
    item(value, field);
    finish();
    return value;
}

}  // namespace pileaxial::textio
