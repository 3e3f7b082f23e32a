#include "engine/output_file.hpp"

#include <cstdint>
#include <filesystem>
#include <random>

namespace pileaxial {

namespace {

namespace fs = std::filesystem;

// A hidden name beside the final one, in the same directory so that the rename stays within one
// file system and replaces the file in one step.  The random part keeps two runs that write the same
// name at the same time from sharing a temporary file.
std::string temporaryName(const fs::path& target) {
    std::random_device random;
    for (int attempt = 0; attempt < 100; ++attempt) {
        // One draw gives all eight hex digits: a draw from the device can cost microseconds (a
        // hardware instruction the hypervisor may trap, or a read of /dev/urandom).
        std::uint32_t bits = static_cast<std::uint32_t>(random());
        std::string suffix;
        for (int i = 0; i < 8; ++i, bits >>= 4) suffix += "0123456789abcdef"[bits & 15u];
        fs::path candidate = target;
        candidate.replace_filename("." + target.filename().string() + "." + suffix + ".tmp");
        std::error_code ec;
        if (!fs::exists(fs::symlink_status(candidate, ec))) return candidate.string();
    }
    return {};
}

}  // namespace

OutputFile::~OutputFile() {
    if (isOpen()) discard();
}

bool OutputFile::open(const std::string& name) {
    target_ = name;
    writing_.clear();
    direct_ = false;
    std::error_code ec;
    fs::path target(name);
    // A link keeps pointing at the file it named: the new file replaces the file it points to.
    if (fs::is_symlink(fs::symlink_status(target, ec))) {
        const fs::path resolved = fs::canonical(target, ec);
        if (!ec) target = resolved;
    }
    const fs::file_status status = fs::status(target, ec);
    if (fs::is_directory(status)) return false;
    direct_ = fs::exists(status) && !fs::is_regular_file(status);
    if (direct_) {
        writing_ = name;
    } else {
        if (target.filename().empty()) return false;
        writing_ = temporaryName(target);
        if (writing_.empty()) return false;
        target_ = target.string();
    }
    out_.open(writing_, std::ios::out | std::ios::trunc);
    if (!out_) {
        writing_.clear();
        return false;
    }
    // A file that is replaced keeps its permissions.
    if (!direct_ && fs::is_regular_file(status)) {
        fs::permissions(writing_, status.permissions(), ec);
    }
    return true;
}

bool OutputFile::commit() {
    if (!isOpen()) return false;
    out_.close();
    if (!out_) {
        discard();
        return false;
    }
    if (direct_) return true;
    std::error_code ec;
    fs::rename(writing_, target_, ec);
    if (ec) {
        fs::remove(writing_, ec);
        return false;
    }
    return true;
}

void OutputFile::discard() {
    if (out_.is_open()) out_.close();
    if (!direct_ && !writing_.empty()) {
        std::error_code ec;
        fs::remove(writing_, ec);
    }
    writing_.clear();
}

}  // namespace pileaxial
