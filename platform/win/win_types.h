// Numbers of the Windows stand-in: status and last-error codes, access rights, value
// types, handles. They carry the values and names the system gives them, so that code
// written against the real registry reads the same here.
#pragma once

#include <cstdint>

namespace platform::win {

// File attributes.
inline constexpr uint32_t FILE_ATTRIBUTE_NORMAL = 0x80;
inline constexpr uint32_t INVALID_FILE_ATTRIBUTES = 0xFFFFFFFF;

// Status and last-error codes.
inline constexpr int32_t ERROR_SUCCESS = 0;
inline constexpr int32_t ERROR_FILE_NOT_FOUND = 2;
inline constexpr int32_t ERROR_ACCESS_DENIED = 5;
inline constexpr int32_t ERROR_INVALID_HANDLE = 6;
inline constexpr int32_t ERROR_INVALID_PARAMETER = 87;
inline constexpr int32_t ERROR_CALL_NOT_IMPLEMENTED = 120;
inline constexpr int32_t ERROR_INSUFFICIENT_BUFFER = 122;
inline constexpr int32_t ERROR_FILENAME_EXCED_RANGE = 206;
inline constexpr int32_t ERROR_MORE_DATA = 234;
inline constexpr int32_t ERROR_NO_MORE_ITEMS = 259;
inline constexpr int32_t ERROR_REGISTRY_IO_FAILED = 1016;
inline constexpr int32_t ERROR_KEY_DELETED = 1018;
inline constexpr int32_t ERROR_NOT_ALL_ASSIGNED = 1300;
inline constexpr int32_t ERROR_INVALID_OWNER = 1307;
inline constexpr int32_t ERROR_NO_SUCH_PRIVILEGE = 1313;
inline constexpr int32_t ERROR_PRIVILEGE_NOT_HELD = 1314;
inline constexpr int32_t ERROR_NONE_MAPPED = 1332;
inline constexpr int32_t ERROR_INVALID_ACL = 1336;
inline constexpr int32_t ERROR_INVALID_SECURITY_DESCR = 1338;

// Key-specific, standard, special and generic access rights.
inline constexpr uint32_t KEY_QUERY_VALUE = 0x0001;
inline constexpr uint32_t KEY_SET_VALUE = 0x0002;
inline constexpr uint32_t KEY_CREATE_SUB_KEY = 0x0004;
inline constexpr uint32_t KEY_ENUMERATE_SUB_KEYS = 0x0008;
inline constexpr uint32_t KEY_NOTIFY = 0x0010;
inline constexpr uint32_t KEY_CREATE_LINK = 0x0020;
inline constexpr uint32_t DELETE = 0x00010000;
inline constexpr uint32_t READ_CONTROL = 0x00020000;
inline constexpr uint32_t WRITE_DAC = 0x00040000;
inline constexpr uint32_t WRITE_OWNER = 0x00080000;
inline constexpr uint32_t ACCESS_SYSTEM_SECURITY = 0x01000000;
inline constexpr uint32_t MAXIMUM_ALLOWED = 0x02000000;
inline constexpr uint32_t GENERIC_ALL = 0x10000000;
inline constexpr uint32_t GENERIC_EXECUTE = 0x20000000;
inline constexpr uint32_t GENERIC_WRITE = 0x40000000;
inline constexpr uint32_t GENERIC_READ = 0x80000000;
inline constexpr uint32_t KEY_READ = 0x00020019;
inline constexpr uint32_t KEY_WRITE = 0x00020006;
inline constexpr uint32_t KEY_EXECUTE = 0x00020019;
inline constexpr uint32_t KEY_ALL_ACCESS = 0x000F003F;

inline constexpr uint32_t TOKEN_ADJUST_PRIVILEGES = 0x0020;
inline constexpr uint32_t TOKEN_QUERY = 0x0008;
inline constexpr uint32_t TOKEN_ALL_ACCESS = 0x000F01FF;
inline constexpr uint32_t SE_PRIVILEGE_ENABLED = 0x00000002;

// Parts of a security descriptor asked for or written.
inline constexpr uint32_t OWNER_SECURITY_INFORMATION = 0x1;
inline constexpr uint32_t DACL_SECURITY_INFORMATION = 0x4;
inline constexpr uint8_t SECURITY_DESCRIPTOR_REVISION = 1;
inline constexpr uint8_t ACL_REVISION = 2;
inline constexpr uint8_t ACCESS_ALLOWED_ACE_TYPE = 0;
inline constexpr uint8_t INHERIT_ONLY_ACE = 0x08;

// Registry value types.
inline constexpr uint32_t REG_NONE = 0;
inline constexpr uint32_t REG_SZ = 1;
inline constexpr uint32_t REG_EXPAND_SZ = 2;
inline constexpr uint32_t REG_BINARY = 3;
inline constexpr uint32_t REG_DWORD = 4;
inline constexpr uint32_t REG_MULTI_SZ = 7;

// Platform families of the version information.
inline constexpr uint32_t VER_PLATFORM_WIN32_WINDOWS = 1;
inline constexpr uint32_t VER_PLATFORM_WIN32_NT = 2;

inline constexpr uint32_t MAX_PATH = 260;

// Key handles; HKEY_LOCAL_MACHINE is predefined and never closed.
using Hkey = uint32_t;
inline constexpr Hkey HKEY_NONE = 0;
inline constexpr Hkey HKEY_LOCAL_MACHINE = 0x80000002;
// Other handles (the process token).
using Handle = uint32_t;

}  // namespace platform::win
