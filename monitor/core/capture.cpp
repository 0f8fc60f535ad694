#include "capture.h"

#include <cstring>

#include "log_setup.h"
#include "raw_replay.h"
#include "ui/services.h"

namespace velmora::monitor {

namespace ui = platform::ui;

Capture::Capture(CaptureView& view) : view_(view) {}

bool Capture::Datalogwrite() {
    if (in_setup_) return false;
    in_setup_ = true;
    closed_in_setup_ = false;
    std::optional<std::string> path = monitor::Datalogwrite(LogStream, RawStream);
    in_setup_ = false;
    if (path && closed_in_setup_) {
        // Exit ran while the set-up let the window system run: the new files are empty
        // and would refuse the next try on the same name.
        LogStream.discard();
        RawStream.discard();
        path.reset();
    }
    decoder_.DatalogOn = LogStream.is_open() && RawStream.is_open();
    if (!path) return false;
    log_path_ = *path;
    not_written_.clear();
    return true;
}

void Capture::begin() {
    CaptureStopped_ = false;
    decoder_.PostProcessMode = false;
    decoder_.LineNumber = 0;
    decoder_.clear_line_texts();
    first_chunk_ = true;
    switched_at_ = 0;
    purged_at_.clear();
    running_ = true;
    t0_ = ui::clock().tick_count_ms();
    decoder_.Timechk = true;
    view_.set_Timechk(true);
}

void Capture::on_chunk(std::string_view chunk) {
    const uint32_t elapsed = ui::clock().tick_count_ms() - t0_;  // wraps safely
    const bool switching = !decoder_.PostProcessMode && chunk.size() > kLiveChunkLimit;
    if (decoder_.DatalogOn) {
        if (switching) switched_at_ = RawStream.size();
        // From the switch on every chunk is recorded, one of the first second too:
        // post-processing decodes them from the file.
        if (elapsed > kRawDelayMs || decoder_.PostProcessMode || switching) {
            write_raw_record(RawStream, int64_t{elapsed} - int64_t{kRawDelayMs}, chunk);
        }
    }
    if (switching) {
        decoder_.PostProcessMode = true;
        if (!CaptureStopped_) {
            LogStream.write_line(kSwitchLine);
            view_.show_text(kSwitchMessage);
        }
    } else if (!decoder_.PostProcessMode) {
        decode_live(chunk);
    }
    check_logs();
}

void Capture::decode_live(std::string_view chunk) {
    // The first chunk decoded is synchronised: from its start when that is a start,
    // else just after its first stop; without a stop none of it.
    if (first_chunk_) {
        first_chunk_ = false;
        if (chunk.empty() || chunk.front() != 'S') {
            const size_t stop = chunk.find('P');
            if (stop == std::string_view::npos) return;
            chunk.remove_prefix(stop + 1);
        }
    }
    // Characters after a watchdog stop are still shown, as the loop ends only after the
    // chunk; the watchdog cannot fire twice within one live chunk.
    while (!chunk.empty()) chunk.remove_prefix(decoder_.feed(chunk).taken);
}

void Capture::purged() {
    if (running_ && decoder_.PostProcessMode) {
        // Nothing after the switch has been decoded yet: the cut waits for post-processing.
        if (decoder_.DatalogOn) purged_at_.push_back(RawStream.size());
        return;
    }
    decoder_.resync();
}

void Capture::clear_line_state() {
    decoder_.LineNumber = 0;
    decoder_.clear_line_texts();
    decoder_.StartSeen = false;
}

bool Capture::stop() {
    CaptureStopped_ = true;
    const bool was_running = running_;
    running_ = false;
    // Post-processing takes the stream up where live decoding left it: a transaction
    // that spans the switch is decoded whole, and the line numbers go on.
    if (!(was_running && decoder_.PostProcessMode)) clear_line_state();
    return was_running;
}

void Capture::check_logs() {
    if (decoder_.DatalogOn && (LogStream.failed() || RawStream.failed())) close_logs();
}

bool Capture::post_process() {
    const PostProcessOutcome out = monitor::post_process(
        RawStream.fd(), {switched_at_, RawStream.size(), purged_at_, !first_chunk_}, decoder_,
        *this);
    // The watchdog ended the decoding, with its own message: the rest of the capture is
    // not in the log, so it is not told saved (as after a watchdog stop while capturing).
    if (out.result == PostProcessResult::Watchdog) return false;
    if (out.result != PostProcessResult::ReadError) return true;
    tell_failure(std::string(kNotRead) + RawStream.path() + ": " +
                 (out.error != 0 ? std::strerror(out.error) : kChanged));
    return false;
}

void Capture::tell_failure(const std::string& text) {
    view_.show_text(text + "\r\n");
    ui::show_message(text);
}

void Capture::report() {
    RawStream.flush();
    check_logs();
    bool read = true;
    if (!not_written_.empty()) {
        // The logging has ended: nothing is post-processed into it.
    } else if (RawStream.size() == 0) {
        view_.show_text(kNoDataMessage);
    } else if (decoder_.PostProcessMode) {
        decoder_.Timechk = false;
        view_.set_Timechk(false);
        if (decoder_.DatalogOn) view_.show_text(kPostProcessingMessage);
        // What was captured is read back through the file still open, whatever now has
        // its name.
        read = post_process();
    }
    clear_line_state();
    // The results are opened by another program: it must see every line.
    LogStream.flush();
    check_logs();
    if (!not_written_.empty()) {
        view_.show_text(not_written_ + "\r\n");
        return;
    }
    if (!read) return;
    // What was logged is not, or not all, in the file that now has its name.
    if (!LogStream.intact()) {
        tell_failure(std::string(kNotWritten) + LogStream.path() + ": " + kChanged);
        return;
    }

    const std::string saved = "Data saved in " + log_path_ + "\r\n";
    view_.show_text(saved);
    if (ui::show_message(saved + "Do you want to open the results?", ui::Buttons::YesNo,
                         ui::Icon::Question, kOpenResultsTitle) == ui::Answer::Yes) {
        ui::services().shell_open(log_path_, "Open");
    }
}

void Capture::leave() {
    CaptureStopped_ = true;
    decoder_.LineNumber = 0;
}

void Capture::close_logs() {
    if (in_setup_) closed_in_setup_ = true;
    const bool log_ok = LogStream.close();
    const bool raw_ok = RawStream.close();
    decoder_.DatalogOn = false;
    if ((raw_ok && log_ok) || !not_written_.empty()) return;
    // Every file that failed, with the system's reason: a full disk cuts both.
    for (const TextFile* f : {&LogStream, &RawStream}) {
        if (!f->failed()) continue;
        if (!not_written_.empty()) not_written_ += "\r\n";
        not_written_ += std::string(kNotWritten) + f->path() + ": " + std::strerror(f->error());
    }
    ui::show_message(not_written_);
}

bool Capture::CreateNewFile(int16_t& LogFileCount, std::string& DataFileName,
                            const std::string& app_folder) {
    // The old log is written out first: the new file may be the very same file.
    LogStream.flush();
    check_logs();
    TextFile next;
    if (!monitor::CreateNewFile(LogFileCount, DataFileName, app_folder, next)) return false;
    LogStream.swap(next);
    return true;
}

void Capture::show_line(std::string_view line) {
    view_.show_line(line);
}

void Capture::log_line(std::string_view line) {
    LogStream.write_line(line);
}

void Capture::watchdog_fired() {
    // Every state change comes before the modal message, so that a Stop pressed while it
    // is open finds the capture already ended and asks nothing.
    CaptureStopped_ = true;
    running_ = false;
    view_.watchdog_stop();
    close_logs();
    ui::show_message(kWatchdogMessage);
}

}  // namespace velmora::monitor
