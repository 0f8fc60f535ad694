#include "log_files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <cstring>

namespace velmora::monitor {

namespace {
constexpr size_t kBufferSize = 256 * 1024;
}

int TextFile::create(const std::string& path, Create how) {
    close();
    ino_ = 0;  // the file closed is no longer this object's to remove
    // Replacing removes the name first: a link of that name goes, its target stays as it is.
    if (how == Create::Replace && ::unlink(path.c_str()) != 0 && errno != ENOENT) return errno;
    // Exclusive: a link or file put there meanwhile makes the creation fail. Appending: a
    // file cut short by another program stays shorter than what was written, never gets a
    // hole of zeros.
    const int fd =
        ::open(path.c_str(), O_RDWR | O_APPEND | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (fd < 0) return errno != 0 ? errno : EIO;
    struct stat st {};
    file_ = ::fstat(fd, &st) == 0 ? ::fdopen(fd, "wb") : nullptr;
    if (file_ == nullptr) {
        const int err = errno != 0 ? errno : EIO;
        ::close(fd);
        ::unlink(path.c_str());
        return err;
    }
    path_ = path;
    dev_ = st.st_dev;
    ino_ = st.st_ino;
    buf_.resize(kBufferSize);
    used_ = 0;
    written_ = 0;
    failed_ = false;
    error_ = 0;
    return 0;
}

int TextFile::fd() const {
    return file_ != nullptr ? ::fileno(file_) : -1;
}

void TextFile::fail() {
    if (!failed_) error_ = errno != 0 ? errno : EIO;
    failed_ = true;
}

void TextFile::put(const char* text, size_t n) {
    if (failed_) return;
    errno = 0;
    if (std::fwrite(text, 1, n, file_) != n) fail();
}

void TextFile::write(std::string_view text) {
    if (file_ == nullptr) return;
    if (used_ + text.size() > buf_.size()) {
        flush();
        if (text.size() >= buf_.size()) {
            put(text.data(), text.size());
            written_ += text.size();
            return;
        }
    }
    std::memcpy(buf_.data() + used_, text.data(), text.size());
    used_ += text.size();
}

bool TextFile::flush() {
    if (file_ == nullptr) return !failed_;
    if (used_ > 0) put(buf_.data(), used_);
    written_ += used_;
    used_ = 0;
    errno = 0;
    if (!failed_ && std::fflush(file_) != 0) fail();
    return !failed_;
}

bool TextFile::close() {
    if (file_ == nullptr) return !failed_;
    flush();
    errno = 0;
    if (std::fclose(file_) != 0) fail();
    file_ = nullptr;
    return !failed_;
}

bool TextFile::named(uint64_t* on_disk) const {
    struct stat st {};
    if (ino_ == 0 || ::lstat(path_.c_str(), &st) != 0 || st.st_dev != dev_ || st.st_ino != ino_)
        return false;
    if (on_disk != nullptr) *on_disk = static_cast<uint64_t>(st.st_size);
    return true;
}

bool TextFile::intact() const {
    uint64_t on_disk = 0;
    return named(&on_disk) && on_disk == size();
}

void TextFile::discard() {
    if (file_ != nullptr) std::fclose(file_);
    file_ = nullptr;
    used_ = 0;
    if (named()) ::unlink(path_.c_str());
    ino_ = 0;
}

std::string raw_path_of(const std::string& log_path) {
    return log_path + "a";
}

void write_raw_record(TextFile& raw, int64_t ms, std::string_view chunk) {
    char head[24];
    head[0] = ',';
    char* end = std::to_chars(head + 1, head + sizeof head - 1, ms).ptr;
    *end++ = ';';
    raw.write(std::string_view(head, static_cast<size_t>(end - head)));
    raw.write(chunk);
    raw.write(kLineEnd);
}

std::string time_elapsed_line(std::string_view ms_text) {
    std::string line = "Time elapsed: ";
    line.append(ms_text);
    line.append("mSec");
    return line;
}

bool CreateNewFile(int16_t& LogFileCount, std::string& DataFileName, const std::string& app_folder,
                   TextFile& log) {
    ++LogFileCount;
    const std::string number = std::to_string(LogFileCount);
    // The name is kept relative to the program folder, as the start-up value "/test1.txt" is.
    DataFileName = "/test" + number + ".txt";
    if (log.create(app_folder + DataFileName, TextFile::Create::Replace) != 0) return false;
    log.write_line("continued... ");
    return true;
}

}  // namespace velmora::monitor
