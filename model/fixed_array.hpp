#pragma once
// A fixed-capacity array indexed from 1, so that the engineering formulas read exactly as they are
// written in the design notes (segment 1 is the top segment, node 1 is the pile head).  Every access is
// checked: an index outside 1..Capacity is a programming error and throws, which the run turns into a
// failed run rather than a read or write past the storage.
#include <array>
#include <cstddef>
#include <stdexcept>
#include <string>

namespace pileaxial {

class IndexError : public std::logic_error {
public:
    using std::logic_error::logic_error;
};

template <typename T, std::size_t Capacity>
class Array1 {
public:
    static constexpr int capacity = static_cast<int>(Capacity);

    T& operator[](int i) {
        check(i);
        return data_[static_cast<std::size_t>(i - 1)];
    }
    const T& operator[](int i) const {
        check(i);
        return data_[static_cast<std::size_t>(i - 1)];
    }
    void fill(const T& v) { data_.fill(v); }
    // The storage, element i at data()[i - 1]: for inner loops that have checked their range once.
    const T* data() const { return data_.data(); }

private:
    static void check(int i) {
        if (i < 1 || i > capacity) [[unlikely]] outOfRange(i);
    }
    // Kept out of line so that the check itself stays a compare and a branch in every formula.
    [[noreturn, gnu::noinline, gnu::cold]] static void outOfRange(int i) {
        throw IndexError("index " + std::to_string(i) + " outside 1.." + std::to_string(capacity));
    }
    std::array<T, Capacity> data_{};
};

}  // namespace pileaxial
