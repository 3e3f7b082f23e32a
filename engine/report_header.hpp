#pragma once
// The report header: title block, file-name lines and the date and time of the analysis.
#include <ctime>
#include <optional>
#include <string>
#include <string_view>

#include "textio/record_writer.hpp"

namespace pileaxial {

// A file name split by Windows path rules (drive letter, directory up to the last separator, name,
// extension from the last dot), each part cut to the width of its buffer.  Both '\' and '/' separate.
struct FileNameParts {
    std::string drive;       // at most 3 characters
    std::string directory;   // at most 256
    std::string name;        // at most 256
    std::string extension;   // at most 5, the dot included
};
FileNameParts SplitFileName(std::string_view fileName);

void WriteTitleBlock(textio::RecordWriter& out);
void WriteFileNameLines(textio::RecordWriter& out, std::string_view inputName,
                        std::string_view outputName, std::string_view plotName);
void WriteDateBlock(textio::RecordWriter& out, const std::tm& when);

// The date and time of a number of seconds since 1970-01-01 00:00:00 UTC, in UTC (the form of
// SOURCE_DATE_EPOCH).  Nothing when the text is not a whole number of seconds, or is one that lies
// beyond the year 9999.
std::optional<std::tm> UtcTimeOfEpochSeconds(std::string_view seconds);

}  // namespace pileaxial
