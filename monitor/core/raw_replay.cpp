#include "raw_replay.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

#include "files/atomic_file.h"
#include "log_files.h"

namespace velmora::monitor {

RawReplay::RawReplay(LineAssembler& decoder, LineSink& log, bool synced)
    : decoder_(decoder), log_(log), sync_(synced ? Sync::Done : Sync::FileStart) {
    time_text_.reserve(kMaxTimeText);
}

bool RawReplay::decode(const char* p, size_t n) {
    if (n != 0 && !stopped_ && decoder_.feed(p, n).watchdog) stopped_ = true;
    return !stopped_;
}

bool RawReplay::time_char(char c) {
    if (c == ';') return true;
    if (time_text_.size() < kMaxTimeText) time_text_.push_back(c);
    return false;
}

void RawReplay::end_time_field() {
    in_time_ = false;
    if (decoder_.DatalogOn) log_.log_line(time_elapsed_line(time_text_));
    time_text_.clear();
}

bool RawReplay::feed(std::string_view piece) {
    const char* p = piece.data();
    const char* const end = p + piece.size();
    // Synchronising, once per file: the first captured character is the one after the
    // first record's time field, and the file's own first character only when the text
    // is not in records.
    while (sync_ != Sync::Done) {
        if (p == end) return !stopped_;
        if (sync_ == Sync::FileStart && *p == ',') {
            sync_ = Sync::FirstTime;
            ++p;
            continue;
        }
        if (sync_ == Sync::FirstTime) {
            if (time_char(*p++)) sync_ = Sync::FirstChar;
            continue;
        }
        if (sync_ != Sync::Scan && *p == 'S') {
            if (sync_ == Sync::FirstChar) end_time_field();
            sync_ = Sync::Done;
            break;
        }
        time_text_.clear();
        sync_ = Sync::Scan;
        const void* stop = std::memchr(p, 'P', static_cast<size_t>(end - p));
        if (stop == nullptr) return true;
        p = static_cast<const char*>(stop) + 1;
        sync_ = Sync::Done;
    }
    while (p < end && !stopped_) {
        if (in_time_) {
            if (time_char(*p++)) end_time_field();
            continue;
        }
        if (held_ == 1) {  // a CR: a record end only when LF follows
            if (*p == '\n') {
                held_ = 2;
                ++p;
                continue;
            }
            held_ = 0;
            decode("\r", 1);
            continue;
        }
        if (held_ == 2) {  // CR LF: a record end only when the next record follows
            held_ = 0;
            if (*p != ',') decode("\r\n", 2);
            continue;
        }
        // A run of captured characters up to the next record mark.
        const char* run = p;
        while (p < end && *p != ',' && *p != '\r') ++p;
        decode(run, static_cast<size_t>(p - run));
        if (p == end || stopped_) break;
        if (*p == ',') {
            in_time_ = true;
        } else {
            held_ = 1;
        }
        ++p;
    }
    return !stopped_;
}

PostProcessResult post_process_file(const std::string& raw_path, const ReplayRange& range,
                                    LineAssembler& decoder, LineSink& log) {
    // Streamed, not read whole: a capture's raw file may be larger than memory. Only a
    // regular file is opened, so a FIFO left at its name cannot hang the Stop.
    const int fd = platform::files::open_regular(raw_path, O_RDONLY);
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> f(fd >= 0 ? ::fdopen(fd, "rb") : nullptr,
                                                      &std::fclose);
    if (!f) {
        if (fd >= 0) ::close(fd);
        return PostProcessResult::ReadError;
    }
    if (range.from > 0 && fseeko(f.get(), static_cast<off_t>(range.from), SEEK_SET) != 0)
        return PostProcessResult::ReadError;
    std::vector<char> buf(1 << 20);
    RawReplay replay(decoder, log, range.synced);
    auto cut = range.cuts.begin();
    uint64_t at = range.from;  // file offset of buf[0]
    bool any = false;
    for (;;) {
        const size_t n = std::fread(buf.data(), 1, buf.size(), f.get());
        if (n == 0) break;
        any = true;
        size_t done = 0;
        for (;;) {
            while (cut != range.cuts.end() && *cut < at + done) ++cut;
            const size_t upto =
                cut != range.cuts.end() && *cut < at + n ? static_cast<size_t>(*cut - at) : n;
            if (!replay.feed(std::string_view(buf.data() + done, upto - done)))
                return PostProcessResult::Watchdog;
            done = upto;
            if (done == n) break;
            replay.resync();
            ++cut;
        }
        at += n;
    }
    if (std::ferror(f.get())) return PostProcessResult::ReadError;
    if (!any) return PostProcessResult::NoData;
    replay.finish();
    return PostProcessResult::Done;
}

}  // namespace velmora::monitor
