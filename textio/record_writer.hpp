#pragma once
// Writes whole records (lines) to a text stream.  The report, the plot-data file and the console all
// go through one of these, so a line is written once, with its terminator, or not at all.
#include <ostream>
#include <string_view>

#include "textio/fortran_format.hpp"

namespace pileaxial::textio {

class RecordWriter {
public:
    RecordWriter() = default;
    explicit RecordWriter(std::ostream* stream) : stream_(stream) {}

    void attach(std::ostream* stream) { stream_ = stream; }
    void detach() { stream_ = nullptr; }
    bool attached() const { return stream_ != nullptr; }

    void put(const Line& line) { put(std::string_view(line.str())); }
    void put(std::string_view text);
    void blank(int count = 1);

private:
    std::ostream* stream_ = nullptr;
};

}  // namespace pileaxial::textio
