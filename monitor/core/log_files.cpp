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
    // Replacing removes the name first: a link of that name goes, its target stays as it is.
    if (how == Create::Replace && ::unlink(path.c_str()) != 0 && errno != ENOENT) return errno;
    // Exclusive: a link or file put there meanwhile makes the creation fail.
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (fd < 0) return errno != 0 ? errno : EIO;
    file_ = ::fdopen(fd, "wb");
    if (file_ == nullptr) {
        const int err = errno != 0 ? errno : EIO;
        ::close(fd);
        return err;
    }
    path_ = path;
    buf_.resize(kBufferSize);
    used_ = 0;
    written_ = 0;
    failed_ = false;
    return 0;
}

void TextFile::put(const char* text, size_t n) {
    if (failed_) return;
    if (std::fwrite(text, 1, n, file_) != n) failed_ = true;
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
    if (!failed_ && std::fflush(file_) != 0) failed_ = true;
    return !failed_;
}

bool TextFile::close() {
    if (file_ == nullptr) return !failed_;
    flush();
    if (std::fclose(file_) != 0) failed_ = true;
    file_ = nullptr;
    return !failed_;
}

void TextFile::discard() {
    if (file_ == nullptr) return;
    struct stat ours {}, named {};
    const bool same = ::fstat(::fileno(file_), &ours) == 0 && ::lstat(path_.c_str(), &named) == 0 &&
                      ours.st_dev == named.st_dev && ours.st_ino == named.st_ino;
    std::fclose(file_);
    file_ = nullptr;
    used_ = 0;
    if (same) ::unlink(path_.c_str());
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
