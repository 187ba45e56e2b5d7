#include "cli/output.h"

#include <cerrno>
#include <cstring>

namespace cli {

void Output::Fail() {
    if (!failed_) reason_ = std::strerror(errno != 0 ? errno : EIO);
    failed_ = true;
}

bool Output::Write(std::string_view text) {
    if (failed_ || text.empty()) return !failed_;
    errno = 0;
    if (std::fwrite(text.data(), 1, text.size(), file_) != text.size()) Fail();
    return !failed_;
}

bool Output::Close() {
    if (!file_) return !failed_;
    errno = 0;
    if (!failed_ && (std::fflush(file_) != 0 || std::ferror(file_))) Fail();
    errno = 0;
    if (std::fclose(file_) != 0 && !failed_) Fail();
    file_ = nullptr;
    return !failed_;
}

}  // namespace cli
