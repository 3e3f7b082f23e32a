#include "textio/record_writer.hpp"

namespace pileaxial::textio {

void RecordWriter::put(std::string_view text) {
    if (stream_ == nullptr) return;
    // Straight to the buffer: a report has thousands of lines, and a short write still marks the
    // stream bad, so a file that could not be written in full is noticed when it is closed.
    std::streambuf* buffer = stream_->rdbuf();
    const auto size = static_cast<std::streamsize>(text.size());
    if (buffer == nullptr || buffer->sputn(text.data(), size) != size ||
        buffer->sputc('\n') == std::char_traits<char>::eof()) {
        stream_->setstate(std::ios::badbit);
    }
}

void RecordWriter::blank(int count) {
    if (stream_ == nullptr) return;
    for (int k = 0; k < count; ++k) *stream_ << '\n';
}

}  // namespace pileaxial::textio
