#pragma once
// An output file of a run (the report or the plot-data file), written under a temporary name in its
// own directory and renamed into place when the run ends.  A run that is killed or crashes part way
// therefore never leaves a half-written file where a good one stood: the earlier file stays as it was,
// and at most a hidden temporary file is left beside it.
#include <fstream>
#include <string>

namespace pileaxial {

class OutputFile {
public:
    OutputFile() = default;
    ~OutputFile();  // a file still open is discarded
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    // Starts the file `name`.  A name that exists and is not a regular file (a device such as
    // /dev/null, a pipe) is written directly, since there is nothing to replace.  Returns false when
    // the file cannot be created (a missing directory, a name that is a directory, no permission).
    bool open(const std::string& name);
    bool isOpen() const { return out_.is_open(); }
    std::ofstream& stream() { return out_; }

    // Closes the file and puts it in place under its name.  When something written did not reach
    // the file, or the rename fails, the temporary file is removed, whatever stood under the name is
    // left untouched, and the result is false.
    bool commit();
    // Closes the file and removes the temporary one; whatever stood under the name is left untouched.
    void discard();

private:
    std::string target_;   // the name the file is put under
    std::string writing_;  // the name written while the file is open
    bool direct_ = false;
    std::ofstream out_;
};

}  // namespace pileaxial
