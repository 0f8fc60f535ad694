// File test and Windows version of drendle.
#pragma once

namespace drendle {

// 1 when the file can be opened for reading (it is closed again at once), else 0.
int FileExists(const char* path);
// Deletes the file; true when it is gone afterwards, also when it was never there.
bool RemoveFile(const char* path);
// Major version * 256 + minor version; NT 4.0 gives 0x200; -1 when unknown.
int GetOsVersionCode();

}  // namespace drendle
