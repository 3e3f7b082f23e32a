#pragma once
// Reading of the input files: fixed text records and list-directed records.
//
// A list-directed read (begin ... item ... finish) starts on a new line and takes its values in order:
//   - values are separated by blanks, tabs or one comma (with blanks around it);
//   - a read that needs more values than its line holds continues on the following lines;
//   - values left over on the last line used are ignored;
//   - r*c stands for r copies of c, r* for r empty values;
//   - an empty value (two commas with nothing between, or a comma opening the read) leaves the field
//     as it was; so does every field after a slash, which ends the read;
//   - an integer field takes an integer literal only; a real field takes integer, decimal or exponent
//     notation (E, D or Q exponent letters).
// Every fault (end of file inside a read, a word or a real where a number or an integer belongs, a
// value out of range) throws InputError with a message that names the file, the line, the record and
// the field.  A value quoted in a message is cut to 40 characters, its control bytes written as \xNN.
// Because a read takes the next line when its own runs short, a record missing a value shifts every
// later record by a line and the fault shows up records later; so a message also says which lines the
// last record spread over several lines took its values from.
#include <istream>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "textio/input_error.hpp"

namespace pileaxial::textio {

class ListReader {
public:
    ListReader(std::istream& in, std::string fileName);

    // Reads the next line as a fixed text record and returns its first `width` characters (fewer when
    // the line is shorter; no padding).  End of file throws.
    std::string readText(std::size_t width, std::string_view record);

    // Like readText but returns nothing at end of file instead of throwing.
    std::optional<std::string> tryReadText(std::size_t width);

    // Starts a list-directed read of the named record on the next line.
    void begin(std::string_view record);
    // The next value of the current read.  `field` names the value in messages.
    void item(int& value, std::string_view field);
    void item(double& value, std::string_view field);
    // Ends the current read: whatever is left of its last line is ignored.
    void finish();

    // Convenience for a read of one value.
    int readInt(std::string_view record, std::string_view field);
    double readReal(std::string_view record, std::string_view field);

    const std::string& fileName() const { return fileName_; }
    int lineNumber() const { return lineNumber_; }

    // The line that gave `field` of `record`, for the current read and the one before it; for another
    // field of those reads their last line, and the current line for anything else.
    int lineOf(std::string_view record, std::string_view field) const;

    // Refuses a value already read: the message names the file, the line that gave the value, the
    // record and the field, and tells of a record spread over several lines.
    [[noreturn]] void refuse(std::string_view record, std::string_view field, const std::string& problem) const;

private:
    enum class Kind { Value, Null, End };
    struct Token {
        Kind kind = Kind::End;
        std::string text;
    };
    // The lines one list-directed read took, and the line of each of its fields.
    struct Trace {
        std::string record;
        int firstLine = 0;  // 0: no line taken yet
        int lastLine = 0;
        std::vector<std::pair<std::string, int>> fieldLines;  // the first fieldCount entries are in use
        int fieldCount = 0;
        bool spread() const { return lastLine > firstLine && firstLine > 0; }
    };
    Token nextToken(std::string_view field);
    bool loadLine();
    void noteField(std::string_view field);
    [[noreturn]] void fail(std::string_view field, const std::string& problem) const;
    [[noreturn]] void endOfFile(std::string_view record, std::string_view field) const;
    std::string message(int line, std::string_view record, std::string_view field,
                        const std::string& problem) const;
    std::string spreadNote() const;

    std::istream& in_;
    std::string fileName_;
    std::string record_;
    std::string line_;
    std::size_t pos_ = 0;
    int lineNumber_ = 0;
    bool inRead_ = false;
    bool afterValue_ = false;
    bool ended_ = false;         // a slash ended the current read
    int repeatLeft_ = 0;         // copies still to hand out from an r*c value
    bool repeatNull_ = false;
    std::string repeatText_;
    Trace current_;              // the read in progress, or the last one finished
    Trace previous_;             // the read before it
    Trace lastSpread_;           // the last finished read that took more than one line
};

}  // namespace pileaxial::textio
