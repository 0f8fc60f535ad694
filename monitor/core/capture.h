// One capture of the monitor, apart from the window and the link: the log set-up, each
// chunk read from the board, Stop with its post-processing and report, and the
// watchdog's stop. The window keeps its controls and the link and calls these from its
// handlers:
//   Start:  if running() ignore; Datalogwrite(); show "Data capture in process ..."; open
//           the link; begin(); then the capture loop (capture_loop.h) until CaptureStopped().
//   Stop:   const bool was = stop(); purge and close the link; if (was) report().
//   Clear:  purge the link; purged().   Exit: close_logs().   Leave: leave().
//   CreateNewFile: CreateNewFile().
//   Controls: decoder().mode, decoder().DisplayON, decoder().Timechk.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "line_assembler.h"
#include "log_files.h"

namespace velmora::monitor {

inline constexpr std::string_view kSwitchMessage =
    "Switch to Post-processing due to high data rate. Press stop to post-process data\r\n";
inline constexpr std::string_view kNoDataMessage = "No data captured\r\n";
inline constexpr std::string_view kPostProcessingMessage = "Post-processing...\r\n";
inline constexpr char kWatchdogMessage[] = "No Start or Stop bit detected";
inline constexpr char kOpenResultsTitle[] = "Open Results";
// A log file that could not be written or read back, followed by its path, ": " and the
// reason.
inline constexpr std::string_view kNotWritten = "Data could not be written to ";
inline constexpr std::string_view kNotRead = "Data could not be read from ";
// The reason when a log is not as it was written: not of its size, or (the decoded log)
// its name no longer standing for it.
inline constexpr char kChanged[] = "the file was removed or changed during the capture";
// A read of more than this many characters abandons live decoding for the capture.
inline constexpr size_t kLiveChunkLimit = 1000;
// Chunks read in the first second are not recorded in the raw file, unless the capture
// has switched to post-processing.
inline constexpr uint32_t kRawDelayMs = 1000;

// `Data` is emptied before a chunk when it holds more than this many characters.
inline constexpr size_t kDataLimit = 65000;

// When the capture loop lets the window system run: on every 1000th pass, and also when
// 20 ms have passed since it last did, so that Stop answers at once on a quiet bus.
class YieldPacer {
  public:
    static constexpr uint32_t kPasses = 1000;
    static constexpr uint32_t kIntervalMs = 20;

    // Counts a pass at `now_ms` (the millisecond tick count); true when the loop should
    // let the window system run now.
    bool due(uint32_t now_ms) {
        if (++passes_ % kPasses == 0 || now_ms - last_ms_ >= kIntervalMs) {
            last_ms_ = now_ms;
            return true;
        }
        return false;
    }

  private:
    uint32_t passes_ = 0;
    uint32_t last_ms_ = 0;
};

// What the capture asks of the window.
class CaptureView {
  public:
    virtual ~CaptureView() = default;
    // A traffic line into `Data` at its caret, then CR LF.
    virtual void show_line(std::string_view line) = 0;
    // A message into `Data` at its caret; the text carries its own CR LF.
    virtual void show_text(std::string_view text) = 0;
    // Ticks or unticks the check box `Timechk`.
    virtual void set_Timechk(bool ticked) = 0;
    // The watchdog stopped the capture: `RX` back to the button-face colour, the device's
    // queues purged (mask 3).
    virtual void watchdog_stop() = 0;
};

class Capture : private LineSink {
  public:
    explicit Capture(CaptureView& view);

    LineAssembler& decoder() { return decoder_; }
    const LineAssembler& decoder() const { return decoder_; }

    // Log set-up; true when both logs are open on a new path. A call nested in its own
    // folder listing (the window system runs there) is refused.
    bool Datalogwrite();
    // The decoded log's path P of the last successful set-up.
    const std::string& log_path() const { return log_path_; }
    bool DatalogOn() const { return decoder_.DatalogOn; }

    // Start, once the link is open: a new capture begins now (time zero), live, with the
    // line number and line texts cleared and "Time" ticked.
    void begin();
    // A capture is running (`RX` is green): from begin() to stop() or the watchdog.
    bool running() const { return running_; }
    bool CaptureStopped() const { return CaptureStopped_; }
    // Ends the capture loop (a failed read).
    void end_loop() { CaptureStopped_ = true; }
    bool PostProcessMode() const { return decoder_.PostProcessMode; }

    // One chunk as read from the board.
    void on_chunk(std::string_view chunk);

    // The receive queue was purged (Clear): decoding picks up at the next start. After the
    // switch this takes effect where the raw file has got to.
    void purged();

    // Stop's first step: ends the loop, clears the line number, the line texts and the
    // start seen. Returns whether a capture was running (then call report()). A capture
    // that switched keeps its line state for report(), which goes on from it.
    bool stop();
    // The rest of Stop: post-processes the raw file of a capture that switched, from the
    // chunk of the switch on, then reports "Data saved in" P and asks whether to open the
    // results; or, when a log could not be written or the raw file read back, says so
    // instead, naming each file and the reason. After a watchdog stop in post-processing
    // it asks nothing.
    void report();

    // The leave sequence: ends the loop and clears the line number.
    void leave();
    // Exit: closes both logs; those that could not be written are reported. During the
    // log set-up the files it makes are then removed.
    void close_logs();

    // `CreateNewFile`: the decoded log goes on in the next numbered file of `app_folder`
    // (log_files.h); later lines land there. The raw file and P stay as they are. False
    // when the new file could not be created: the decoded log then goes on where it was.
    bool CreateNewFile(int16_t& LogFileCount, std::string& DataFileName,
                       const std::string& app_folder);

  private:
    void show_line(std::string_view line) override;
    void log_line(std::string_view line) override;
    void watchdog_fired() override;
    void decode_live(std::string_view chunk);
    void clear_line_state();
    // Ends the logging, with a message, when a log could not be written.
    void check_logs();
    // Decodes the raw records of the switch on; false, with a message, when a part of them
    // could not be read or the watchdog ended the decoding.
    bool post_process();
    // A failure in place of "Data saved in": into `Data` and in a message box.
    void tell_failure(const std::string& text);

    CaptureView& view_;
    LineAssembler decoder_{*this};
    TextFile LogStream;
    TextFile RawStream;
    std::string log_path_;
    bool running_ = false;
    bool CaptureStopped_ = true;
    bool first_chunk_ = true;
    bool in_setup_ = false;
    bool closed_in_setup_ = false;
    uint32_t t0_ = 0;
    // Post-processing: the raw file's records from the switch on, cut where Clear purged.
    uint64_t switched_at_ = 0;
    std::vector<uint64_t> purged_at_;
    // The log files that could not be written during this logging, each with its reason
    // (lines joined by CR LF), or empty.
    std::string not_written_;
};

}  // namespace velmora::monitor
