// File test and Windows version of drendle.
#pragma once

namespace drendle {

// 1 when the file is there, or when it cannot be told (a folder on the way cannot be
// looked into); 0 when it is not there. It is never opened: a file that may not be read
// is there all the same.
int FileExists(const char* path);
// Deletes the file; true when it is gone afterwards, also when it was never there.
bool RemoveFile(const char* path);
// Major version * 256 + minor version; NT 4.0 gives 0x200; -1 when unknown.
int GetOsVersionCode();

}  // namespace drendle
