// Registry operations of drendle: opening keys, finding a value, probing the rights a
// key grants, taking a key over for "Administrators", enabling privileges, and the two
// recursive deletions. Progress and error lines go to standard output. Each routine
// returns 1 for success and 0 for failure unless said otherwise.
#pragma once

#include <cstdint>
#include <string>

#include "win/win_types.h"

namespace drendle {

using platform::win::Hkey;

// Rights the deletions ask for.
inline constexpr uint32_t kReadAdminAccess = 0xE0019;  // KEY_READ, WRITE_DAC, WRITE_OWNER
inline constexpr uint32_t kOwnerAndListAccess = 0xE0000;
inline constexpr uint32_t kValueBufferSize = 200;
inline constexpr uint32_t kSubkeyNameBufferSize = 200;

int OpenKey(Hkey parent, const char* path, uint32_t access, Hkey* handle);
// As OpenKey, returning the system's status (0 = opened).
int32_t OpenKeyAccess(Hkey parent, const char* path, uint32_t access, Hkey* handle);
// Data of the value named exactly `name` (case counts), into a buffer of 200 bytes, as
// a string. A value of another name too large for that buffer is read again with the
// size the system reports, and the search goes on. *status, when given, tells a 0 apart:
// ERROR_FILE_NOT_FOUND (no such value), ERROR_MORE_DATA (the value's string does not fit
// the buffer) or the status that kept the values from being read.
int ReadNamedValue(Hkey key, const char* name, char* data, int32_t* status = nullptr);
// The data of the value named exactly `name` as a string (up to its terminator), whatever
// its size: ERROR_SUCCESS, ERROR_FILE_NOT_FOUND or the status that kept the values from
// being read.
int32_t ReadNamedString(Hkey key, const char* name, std::string* text);
// Value `index` of the open key, whatever its size: the call is repeated with the sizes
// the system reports. A status as the system's enumeration gives it.
int32_t EnumValueWhole(Hkey key, uint32_t index, std::string* name, uint32_t* type,
                       std::string* data);
// The single-bit access masks under which the key opens; prints "Mask =    :%08x\n".
uint32_t ProbeKeyAccess(Hkey parent, const char* path);
int SetKeyOwner(Hkey key, const char* account);
// Appends a full-access entry for `account` to the key's access list.
int AddAdminAce(const char* account, Hkey key);
int EnablePrivilege(const char* name);
// Plain recursive deletion; a key that cannot be opened for reading counts as removed.
int Nukekey(Hkey parent, const char* path);
// Recursive deletion that takes over owner and access list where it must; a key that
// grants nothing counts as removed.
int RemKey(Hkey parent, const char* path);
// Runs a deletion (Nukekey or RemKey) and judges it by the registry: true only when the
// key is gone. A key that counts as removed because it cannot be opened is still there.
bool RemovedKey(int (*remove)(Hkey, const char*), Hkey parent, const char* path);

}  // namespace drendle
