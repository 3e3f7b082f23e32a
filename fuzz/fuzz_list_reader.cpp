// The list-directed reader on any text.  The first line of the fuzz data is a little program of reads
// (one letter per step); the rest is the file read.  Letters:
//   t  a fixed text record of 12 characters     T  the same, stopping quietly at the end of the file
//   b  begin a list-directed read                i  an integer value     r  a real value
//   f  finish the read                           I  a read of one integer R  a read of one real
//   x  refuse the last field read (a message, as the readers give after a check)
// Any other byte is skipped.  Without a program line every step reads one real.
// Every fault must be an InputError naming the file and a line; a real value read is finite.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>
#include <string_view>

#include "fuzz/fuzz_support.hpp"
#include "textio/input_error.hpp"
#include "textio/list_reader.hpp"

namespace {

constexpr const char* kFileName = "fuzz.txt";
constexpr int kMaxSteps = 4096;

void checkMessage(const pileaxial::InputError& e) {
    const std::string_view message = e.what();
    pileaxial::fuzzing::Require(message.rfind(std::string(kFileName) + ", line ", 0) == 0,
                                "a reader message that does not start with the file and line: " + std::string(message));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view all(reinterpret_cast<const char*>(data), size);
    std::string_view program = "R";
    std::string_view text = all;
    if (const std::size_t newline = all.find('\n'); newline != std::string_view::npos && newline <= 64) {
        program = all.substr(0, newline);
        text = all.substr(newline + 1);
        if (program.empty()) program = "R";
    }
    std::istringstream in{std::string(text)};
    pileaxial::textio::ListReader reader(in, kFileName);
    bool inRead = false;
    int reads = 0;
    int lastLine = 0;
    std::string record = "R0";
    std::string field = "none";
    try {
        for (int step = 0; step < kMaxSteps; ++step) {
            const char op = program[static_cast<std::size_t>(step) % program.size()];
            const auto beginRead = [&] {
                record = "R" + std::to_string(++reads);
                reader.begin(record);
                inRead = true;
            };
            switch (op) {
                case 't':
                case 'T':
                case 'I':
                case 'R':
                    if (inRead) {
                        reader.finish();
                        inRead = false;
                    }
                    if (op == 't') {
                        pileaxial::fuzzing::Require(reader.readText(12, "T").size() <= 12, "a text record too long");
                    } else if (op == 'T') {
                        if (!reader.tryReadText(12)) return 0;
                    } else if (op == 'I') {
                        field = "int";
                        record = "R" + std::to_string(++reads);
                        reader.readInt(record, field);
                    } else {
                        field = "real";
                        record = "R" + std::to_string(++reads);
                        const double value = reader.readReal(record, field);
                        pileaxial::fuzzing::Require(std::isfinite(value), "a real read that is not finite");
                    }
                    break;
                case 'b': beginRead(); break;
                case 'i': {
                    if (!inRead) beginRead();
                    int value = 0;
                    field = "i" + std::to_string(step);
                    reader.item(value, field);
                    break;
                }
                case 'r': {
                    if (!inRead) beginRead();
                    double value = 0;
                    field = "r" + std::to_string(step);
                    reader.item(value, field);
                    pileaxial::fuzzing::Require(std::isfinite(value), "a real value that is not finite");
                    break;
                }
                case 'f':
                    if (inRead) {
                        reader.finish();
                        inRead = false;
                    }
                    break;
                case 'x': {
                    const int line = reader.lineOf(record, field);
                    pileaxial::fuzzing::Require(line >= 0 && line <= reader.lineNumber() + 1,
                                                "lineOf gives a line that was not read");
                    reader.refuse(record, field, "refused");
                }
                default: break;
            }
            pileaxial::fuzzing::Require(reader.lineNumber() >= lastLine, "the line number went back");
            lastLine = reader.lineNumber();
        }
    } catch (const pileaxial::InputError& e) {
        checkMessage(e);
    }
    return 0;
}
