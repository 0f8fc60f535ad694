// Post-processing stage: raw capture file -> event characters and "Time elapsed" lines.
// Input: the raw file's text, in pieces of any size split anywhere: records of
// "," + milliseconds + ";" + captured characters + CR LF.
// Output: the captured characters, in order, to the line assembler; at each record's ";"
// the line "Time elapsed: " + its milliseconds + "mSec" to the decoded log, ahead of the
// lines completed in that record. Unless the stream was already synchronised (live
// decoding went on to the first record replayed), decoding begins as live decoding's does:
// at the first record's first captured character when it is 'S' (its time line written),
// else just after the first 'P' (with no 'P', nothing is decoded). The CR LF that
// ends a record is skipped, so a byte that spans two records is assembled whole; a CR or
// LF inside the captured characters still counts as a bit, as it did live.
// Memory stays bounded whatever the file holds.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "line_assembler.h"

namespace velmora::monitor {

class RawReplay {
  public:
    // Time lines go to `log`'s log_line while the decoder logs. `synced`: the decoder is in
    // step with the stream already and takes it from its first character.
    RawReplay(LineAssembler& decoder, LineSink& log, bool synced = false);

    // Returns false once the watchdog has fired: the logs are closed then, and the rest of
    // the file is not decoded.
    bool feed(std::string_view piece);
    // End of the file: a record end still held back is dropped.
    void finish() { held_ = 0; }
    // Between records: the stream was cut here (line_assembler.h, resync()).
    void resync() {
        held_ = 0;
        decoder_.resync();
    }

    bool watchdog_fired() const { return stopped_; }

  private:
    // A corrupt time field (no ";") keeps at most this many of its characters.
    static constexpr size_t kMaxTimeText = 32;

    bool decode(const char* p, size_t n);
    // One character of a time field; true at the ";" that ends it.
    bool time_char(char c);
    void end_time_field();

    enum class Sync {
        FileStart,  // nothing read yet
        FirstTime,  // in the first record's time field
        FirstChar,  // at the first record's first captured character
        Scan,       // looking for the first stop
        Done,
    };

    LineAssembler& decoder_;
    LineSink& log_;
    Sync sync_;
    bool in_time_ = false;
    int held_ = 0;  // 1: a CR held back, 2: CR LF held back
    bool stopped_ = false;
    std::string time_text_;
};

enum class PostProcessResult {
    Done,
    NoData,     // nothing to read
    ReadError,  // a part of the records could not be read
    Watchdog,   // the watchdog fired and ended the decoding
};

// Which part of a raw file post-processing decodes, and how.
struct ReplayRange {
    uint64_t from = 0;  // offset of the first record decoded
    uint64_t to = 0;    // offset just past the last record
    // Offsets of records, in ascending order, before which the stream was cut.
    std::vector<uint64_t> cuts;
    bool synced = false;  // as for RawReplay
};

struct PostProcessOutcome {
    PostProcessResult result;
    // ReadError: the system's reason (errno value), or 0 when the file does not end at `to`:
    // it was changed meanwhile.
    int error = 0;
    bool operator==(const PostProcessOutcome&) const = default;
};

// Post-processes the records of the raw file open on `fd` in bounded memory. Reads by
// offset: the descriptor's own position is left as it is.
PostProcessOutcome post_process(int fd, const ReplayRange& range, LineAssembler& decoder,
                                LineSink& log);

}  // namespace velmora::monitor
