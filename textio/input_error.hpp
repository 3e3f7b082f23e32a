#pragma once
#include <stdexcept>
#include <string>

namespace pileaxial {

// A fault in what the user gave the program (a file that cannot be opened, a value that cannot be
// read, a count beyond a capacity, a value that would divide by zero).  The message names the file,
// the record and the field.  A run that meets one ends with status 2.
class InputError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

}  // namespace pileaxial
