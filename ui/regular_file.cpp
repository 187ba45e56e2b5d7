#include "ui/regular_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

namespace ui {

// A device, FIFO, socket or directory is refused by stat before it is
// opened at all: opening a FIFO waits for a writer, and opening some devices
// does things of its own. The open cannot wait either (O_NONBLOCK), and what
// it opened is checked again, since the name may have been swapped between
// the two. The size fstat reports is only a first guess for the buffer:
// files under /proc and /sys report 0 and read on, so the reading itself
// stops past the limit.
int ReadRegularFile(const std::string& name, qint64 limit, QByteArray& out) {
    struct stat st {};
    if (::stat(name.c_str(), &st) != 0) return errno;
    if (!S_ISREG(st.st_mode)) return EINVAL;
    const int fd = ::open(name.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) return errno;
    const int error = [&] {
        if (::fstat(fd, &st) != 0) return errno;
        if (!S_ISREG(st.st_mode)) return EINVAL;
        if (st.st_size > limit) return EFBIG;
        out.resize(static_cast<qsizetype>(std::max<qint64>(st.st_size, 1)) + 1);
        qsizetype used = 0;
        for (;;) {
            if (used == out.size()) {
                if (used > limit) return EFBIG;
                out.resize(static_cast<qsizetype>(std::min<qint64>(2 * qint64{used}, limit + 1)));
            }
            const ssize_t n = ::read(fd, out.data() + used, static_cast<std::size_t>(out.size() - used));
            if (n == 0) break;
            if (n < 0) {
                if (errno == EINTR) continue;
                return errno;
            }
            used += n;
        }
        out.truncate(used);
        return 0;
    }();
    ::close(fd);
    return error;
}

}  // namespace ui
