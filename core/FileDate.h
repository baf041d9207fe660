#pragma once

#include <QString>

namespace kvr {
class Session;

namespace BaseModule {

// File times of the loaded file. A file whose time cannot be read keeps the
// stored time and counts as changed: better one needless question than a
// chip programmed from a file that is not what the buffer shows.
void RememberFileDate(Session &session, const QString &path);
bool FileChangedOnDisk(const Session &session, const QString &path);

} // namespace BaseModule
} // namespace kvr
