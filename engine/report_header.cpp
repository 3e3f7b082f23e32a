#include "engine/report_header.hpp"

#include <array>
#include <chrono>

namespace pileaxial {

namespace {

constexpr std::array<const char*, 12> kMonths = {
    "Date:  January ", "Date:  February ", "Date:  March ",     "Date:  April ",
    "Date:  May ",     "Date:  June ",     "Date:  July ",      "Date:  August ",
    "Date:  September ", "Date:  October ", "Date:  November ", "Date:  December "};

std::string cut(std::string_view text, std::size_t width) {
    return std::string(text.substr(0, width));
}

std::string trimRight(std::string text) {
    while (!text.empty() && text.back() == ' ') text.pop_back();
    return text;
}

}  // namespace

FileNameParts SplitFileName(std::string_view path) {
    FileNameParts parts;
    std::size_t start = 0;
    if (path.size() >= 2 && path[1] == ':') {
        parts.drive = cut(path.substr(0, 2), 3);
        start = 2;
    }
    std::string_view rest = path.substr(start);
    const std::size_t slash = rest.find_last_of("/\\");
    std::string_view base = rest;
    if (slash != std::string_view::npos) {
        parts.directory = cut(rest.substr(0, slash + 1), 256);
        base = rest.substr(slash + 1);
    }
    const std::size_t dot = base.find_last_of('.');
    if (dot != std::string_view::npos) {
        parts.name = cut(base.substr(0, dot), 256);
        parts.extension = cut(base.substr(dot), 5);
    } else {
        parts.name = cut(base, 256);
    }
    return parts;
}

void WriteTitleBlock(textio::RecordWriter& out) {
    const std::string rule = std::string(5, ' ') + std::string(73, '=');
    out.put(rule);
    out.blank();
    out.put(textio::Line().x(20).a("   A Program for Analyzing the Axial Capacity "));
    out.put(textio::Line().x(20).a("   and Short-term Settlement of Driven Piles "));
    out.put(textio::Line().x(20).a("             under Axial Loading. "));
    out.blank();
    out.put(rule);
    out.blank();
}

void WriteFileNameLines(textio::RecordWriter& out, std::string_view inputName,
                        std::string_view outputName, std::string_view plotName) {
    // The input name goes through a 256-character buffer, the others through 255-character ones.
    FileNameParts input = SplitFileName(inputName.substr(0, 256));
    out.put(textio::Line().x(5).a("Path to file locations      : ")
                .a(trimRight(input.drive)).a(trimRight(input.directory)));
    out.put(textio::Line().x(5).a("Name of input data file     : ")
                .a(trimRight(input.name)).a(trimRight(input.extension)));
    FileNameParts output = SplitFileName(outputName.substr(0, 255));
    out.put(textio::Line().x(5).a("Name of output file         : ")
                .a(trimRight(output.name)).a(trimRight(output.extension)));
    FileNameParts plot = SplitFileName(plotName.substr(0, 255));
    out.put(textio::Line().x(5).a("Name of plot output file    : ")
                .a(trimRight(plot.name)).a(trimRight(plot.extension)));
}

void WriteDateBlock(textio::RecordWriter& out, const std::tm& when) {
    const std::string rule = std::string(5, ' ') + std::string(73, '-');
    out.put(rule);
    out.put(textio::Line().x(26).a("Time and Date of Analysis"));
    out.put(rule);
    out.blank();
    const int month = when.tm_mon < 0 || when.tm_mon > 11 ? 0 : when.tm_mon;
    auto twoDigits = [](int v) {
        std::string s = std::to_string(v < 0 ? 0 : v % 100);
        return s.size() < 2 ? "0" + s : s;
    };
    out.put(textio::Line()
                .x(15)
                .a(kMonths[static_cast<std::size_t>(month)])
                .a(twoDigits(when.tm_mday))
                .a(", ")
                .i(when.tm_year + 1900, 4)
                .x(5)
                .a("Time:  ")
                .a(twoDigits(when.tm_hour))
                .a(":")
                .a(twoDigits(when.tm_min))
                .a(":")
                .a(twoDigits(when.tm_sec)));
}

std::optional<std::tm> UtcTimeOfEpochSeconds(std::string_view seconds) {
    // Up to 12 digits: the year 9999 ends near 2.5e11 seconds, and nothing can overflow on the way.
    if (seconds.empty() || seconds.size() > 12) return std::nullopt;
    long long value = 0;
    for (const char c : seconds) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + (c - '0');
    }
    using namespace std::chrono;
    const sys_seconds time{std::chrono::seconds{value}};
    const sys_days day = floor<days>(time);
    const year_month_day date{day};
    const hh_mm_ss clock{time - day};
    if (int(date.year()) > 9999) return std::nullopt;
    std::tm when{};
    when.tm_year = int(date.year()) - 1900;
    when.tm_mon = static_cast<int>(unsigned(date.month())) - 1;
    when.tm_mday = static_cast<int>(unsigned(date.day()));
    when.tm_hour = static_cast<int>(clock.hours().count());
    when.tm_min = static_cast<int>(clock.minutes().count());
    when.tm_sec = static_cast<int>(clock.seconds().count());
    return when;
}

}  // namespace pileaxial
