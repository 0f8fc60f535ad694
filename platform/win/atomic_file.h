// Whole-file reads with a size limit, and writes that replace a file atomically.
#pragma once

#include <optional>
#include <string>

namespace platform::win {

// The file's bytes; nothing when it cannot be read or is larger than `max_bytes`.
std::optional<std::string> read_whole_file(const std::string& path, size_t max_bytes);

// Writes `path`.tmp, flushes it to disk and renames it over `path`, so that a crash
// leaves either the old file or the new one, never a mixture.
bool write_file_atomically(const std::string& path, const std::string& bytes);

}  // namespace platform::win
