#include "textio/record_writer.hpp"

namespace pileaxial::textio {

void RecordWriter::put(std::string_view text) {
    if (stream_ != nullptr) *stream_ << text << '\n';
}

void RecordWriter::blank(int count) {
    if (stream_ == nullptr) return;
    for (int k = 0; k < count; ++k) *stream_ << '\n';
}

}  // namespace pileaxial::textio
