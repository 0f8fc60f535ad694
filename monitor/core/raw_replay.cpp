#include "raw_replay.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <vector>

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

PostProcessOutcome post_process(int fd, const ReplayRange& range, LineAssembler& decoder,
                                LineSink& log) {
    // Streamed, not read whole: a capture's raw file may be larger than memory.
    if (range.from >= range.to) return {PostProcessResult::NoData};
    // A file of another size is not what was written: its records are not where they were.
    struct stat st {};
    if (::fstat(fd, &st) != 0) return {PostProcessResult::ReadError, errno};
    if (static_cast<uint64_t>(st.st_size) != range.to) return {PostProcessResult::ReadError};
    std::vector<char> buf(std::min<uint64_t>(range.to - range.from, 1 << 20));
    RawReplay replay(decoder, log, range.synced);
    auto cut = range.cuts.begin();
    for (uint64_t at = range.from; at < range.to;) {  // `at`: file offset of buf[0]
        const ssize_t got = ::pread(fd, buf.data(), std::min<uint64_t>(buf.size(), range.to - at),
                                    static_cast<off_t>(at));
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) return {PostProcessResult::ReadError, got < 0 ? errno : 0};
        const auto n = static_cast<size_t>(got);
        size_t done = 0;
        for (;;) {
            while (cut != range.cuts.end() && *cut < at + done) ++cut;
            const size_t upto =
                cut != range.cuts.end() && *cut < at + n ? static_cast<size_t>(*cut - at) : n;
            if (!replay.feed(std::string_view(buf.data() + done, upto - done)))
                return {PostProcessResult::Watchdog};
            done = upto;
            if (done == n) break;
            replay.resync();
            ++cut;
        }
        at += n;
    }
    replay.finish();
    return {PostProcessResult::Done};
}

}  // namespace velmora::monitor
