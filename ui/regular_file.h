// Reading a file that must be a regular one: a device, a FIFO, a socket or
// a directory by that name is refused before it is opened, and a file that
// grows past a limit is refused as it is read.
#pragma once

#include <QByteArray>
#include <QtGlobal>

#include <string>

namespace ui {

// Reads the regular file `name` (links followed) into out, refusing it once
// more than `limit` bytes have come. Returns 0, or the errno value that says
// why not: EINVAL when it is no regular file, EFBIG when it is too long.
int ReadRegularFile(const std::string& name, qint64 limit, QByteArray& out);

}  // namespace ui
