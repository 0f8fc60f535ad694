// The monitor's two log files and their formats.
// Decoded log (`LogStream`): one line per completed line, each ending CR LF; also the
// switch notice and, from post-processing, "Time elapsed: " + ms + "mSec" lines.
// Raw capture file (`RawStream`), path = decoded log's path + "a": one record per chunk
// read: "," + (ms since Start - 1000) + ";" + the chunk's characters + CR LF.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace velmora::monitor {

inline constexpr std::string_view kLineEnd = "\r\n";

// A text file written through one large buffer, so that a line costs a copy, not a call
// into the C library.
class TextFile {
  public:
    TextFile() = default;
    ~TextFile() { close(); }
    TextFile(const TextFile&) = delete;
    TextFile& operator=(const TextFile&) = delete;

    // Creates the file, replacing one of that name. On failure returns the errno value.
    int create(const std::string& path);
    bool is_open() const { return file_ != nullptr; }
    void write(std::string_view text);
    void write_line(std::string_view line) {
        write(line);
        write(kLineEnd);
    }
    // Hands the buffered text to the system, so that a reader sees it.
    void flush();
    void close();
    void swap(TextFile& other) noexcept {
        std::swap(file_, other.file_);
        buf_.swap(other.buf_);
        std::swap(used_, other.used_);
    }

  private:
    std::FILE* file_ = nullptr;
    std::vector<char> buf_;
    size_t used_ = 0;
};

// The raw file's path for a decoded log's path: "run1.txt" -> "run1.txta".
std::string raw_path_of(const std::string& log_path);

// One raw record: ms is the milliseconds since Start minus 1000.
void write_raw_record(TextFile& raw, uint32_t ms, std::string_view chunk);

// "Time elapsed: " + the record's millisecond text + "mSec".
std::string time_elapsed_line(std::string_view ms_text);

inline constexpr std::string_view kSwitchLine = "Switch to Post-processing due to high data rate.";

// `CreateNewFile`: adds 1 to LogFileCount, names DataFileName "/test" + count + ".txt",
// creates that file in the program folder (`app_folder` + DataFileName) as the new log and
// writes "continued... ".
// Returns false when the file could not be created (the log is then closed).
bool CreateNewFile(int16_t& LogFileCount, std::string& DataFileName, const std::string& app_folder,
                   TextFile& log);

}  // namespace velmora::monitor
