#pragma once

#include <QString>

namespace kvr {
class Session;

namespace BaseModule {

constexpr int OneKB = 1024;
constexpr int EightKB = 8192;
constexpr int SixtyFourKB = 65536; // the programmer's largest code memory
constexpr char BlankByte = static_cast<char>(0xFF);

// Folder that holds Data/ and Bmps/: KVR_HOME when set, else the programs'
// folder, else prefix/share/kvr of an installed program.
QString ApplicationFolder();

// Sets every shared value to its start value and forms the two data paths
// from the application folder.
void InitGlobals(Session &session, const QString &applicationFolder = ApplicationFolder());

// The images read from a chip go through fresh files beside TempImagePath,
// named after it; none of them is a file of the user's.
QString TemporaryImageTemplate(const Session &session);
bool IsTemporaryImage(const Session &session, const QString &path);

} // namespace BaseModule
} // namespace kvr
