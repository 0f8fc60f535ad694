// The monitor's two log files and their formats.
// Decoded log (`LogStream`): one line per completed line, each ending CR LF; also the
// switch notice and, from post-processing, "Time elapsed: " + ms + "mSec" lines.
// Raw capture file (`RawStream`), path = decoded log's path + "a": one record per chunk
// read: "," + (ms since Start - 1000) + ";" + the chunk's characters + CR LF. Chunks of the
// first second are recorded only once a capture has switched to post-processing (it
// decodes them from this file); their number is then negative or 0 (-1000 to 0), so that
// it never reads like a record of later traffic, whose numbers are 1 and up. The records
// of a capture follow one another without a gap, except where Clear purged the link.
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
// into the C library. A write or flush that fails marks the file failed; nothing more is
// written to it then, so that it never holds text with a hole in it. The file is open for
// reading too: post-processing reads back what was written through it, whatever has
// become of its name meanwhile.
class TextFile {
  public:
    enum class Create {
        New,      // fails (EEXIST) when anything, a link too, has the name
        Replace,  // a new file in place of a file of that name; a link is replaced, not followed
    };

    TextFile() = default;
    ~TextFile() { close(); }
    TextFile(const TextFile&) = delete;
    TextFile& operator=(const TextFile&) = delete;

    // Creates the file, never through a link. On failure returns the errno value.
    int create(const std::string& path, Create how);
    bool is_open() const { return file_ != nullptr; }
    // The descriptor to read back from (after flush()), or -1 when closed.
    int fd() const;
    const std::string& path() const { return path_; }
    void write(std::string_view text);
    void write_line(std::string_view line) {
        write(line);
        write(kLineEnd);
    }
    // Hands the buffered text to the system, so that a reader sees it. False once any
    // write or flush has failed.
    bool flush();
    // False when the file failed, now or before.
    bool close();
    // Closes the file if it is open, and removes the file this object last created unless
    // its name has come to stand for another file.
    void discard();
    // The name still stands for the file this object last created, open or closed; then
    // `on_disk`, if given, takes that file's size.
    bool named(uint64_t* on_disk = nullptr) const;
    // named(), and the file holds as many characters as were written through it (after
    // flush()): another program has not cut it short or added to it.
    bool intact() const;
    bool failed() const { return failed_; }
    // The system's reason (errno value) of the first failure, or 0.
    int error() const { return error_; }
    // Characters written since creation, those still buffered included.
    uint64_t size() const { return written_ + used_; }
    void swap(TextFile& other) noexcept {
        std::swap(file_, other.file_);
        path_.swap(other.path_);
        buf_.swap(other.buf_);
        std::swap(used_, other.used_);
        std::swap(written_, other.written_);
        std::swap(failed_, other.failed_);
        std::swap(error_, other.error_);
        std::swap(dev_, other.dev_);
        std::swap(ino_, other.ino_);
    }

  private:
    void put(const char* text, size_t n);
    void fail();

    std::FILE* file_ = nullptr;
    std::string path_;
    std::vector<char> buf_;
    size_t used_ = 0;
    uint64_t written_ = 0;
    bool failed_ = false;
    int error_ = 0;
    // The file created, to tell it from another file given its name later; ino_ 0: none.
    uint64_t dev_ = 0;
    uint64_t ino_ = 0;
};

// The raw file's path for a decoded log's path: "run1.txt" -> "run1.txta".
std::string raw_path_of(const std::string& log_path);

// One raw record: ms is the milliseconds since Start minus 1000.
void write_raw_record(TextFile& raw, int64_t ms, std::string_view chunk);

// "Time elapsed: " + the record's millisecond text + "mSec".
std::string time_elapsed_line(std::string_view ms_text);

inline constexpr std::string_view kSwitchLine = "Switch to Post-processing due to high data rate.";

// `CreateNewFile`: adds 1 to LogFileCount, names DataFileName "/test" + count + ".txt",
// creates that file in the program folder (`app_folder` + DataFileName) as the new log,
// replacing a file of that name but never writing through a link, and writes
// "continued... ".
// Returns false when the file could not be created (the log is then closed).
bool CreateNewFile(int16_t& LogFileCount, std::string& DataFileName, const std::string& app_folder,
                   TextFile& log);

}  // namespace velmora::monitor
