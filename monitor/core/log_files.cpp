#include "log_files.h"

#include <cerrno>
#include <charconv>
#include <cstring>

namespace velmora::monitor {

namespace {
constexpr size_t kBufferSize = 256 * 1024;
}

int TextFile::create(const std::string& path) {
    close();
    file_ = std::fopen(path.c_str(), "wb");
    if (file_ == nullptr) return errno != 0 ? errno : EIO;
    buf_.resize(kBufferSize);
    used_ = 0;
    return 0;
}

void TextFile::write(std::string_view text) {
    if (file_ == nullptr) return;
    if (used_ + text.size() > buf_.size()) {
        flush();
        if (text.size() >= buf_.size()) {
            std::fwrite(text.data(), 1, text.size(), file_);
            return;
        }
    }
    std::memcpy(buf_.data() + used_, text.data(), text.size());
    used_ += text.size();
}

void TextFile::flush() {
    if (file_ == nullptr) return;
    if (used_ > 0) std::fwrite(buf_.data(), 1, used_, file_);
    used_ = 0;
    std::fflush(file_);
}

void TextFile::close() {
    if (file_ == nullptr) return;
    flush();
    std::fclose(file_);
    file_ = nullptr;
}

std::string raw_path_of(const std::string& log_path) {
    return log_path + "a";
}

void write_raw_record(TextFile& raw, uint32_t ms, std::string_view chunk) {
    char head[16];
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
    if (log.create(app_folder + DataFileName) != 0) return false;
    log.write_line("continued... ");
    return true;
}

}  // namespace velmora::monitor
