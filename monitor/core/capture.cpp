#include "capture.h"

#include <cstring>
#include <filesystem>
#include <system_error>

#include "log_setup.h"
#include "raw_replay.h"
#include "ui/services.h"

namespace velmora::monitor {

namespace ui = platform::ui;

Capture::Capture(CaptureView& view) : view_(view) {}

bool Capture::Datalogwrite() {
    if (in_setup_) return false;
    in_setup_ = true;
    const std::optional<std::string> path = monitor::Datalogwrite(LogStream, RawStream);
    in_setup_ = false;
    decoder_.DatalogOn = LogStream.is_open() && RawStream.is_open();
    if (!path) return false;
    log_path_ = *path;
    return true;
}

void Capture::begin() {
    CaptureStopped_ = false;
    decoder_.PostProcessMode = false;
    decoder_.LineNumber = 0;
    decoder_.clear_line_texts();
    first_chunk_ = true;
    running_ = true;
    t0_ = ui::clock().tick_count_ms();
    decoder_.Timechk = true;
    view_.set_Timechk(true);
}

void Capture::on_chunk(std::string_view chunk) {
    const uint32_t elapsed = ui::clock().tick_count_ms() - t0_;  // wraps safely
    if (decoder_.DatalogOn && elapsed > kRawDelayMs) {
        write_raw_record(RawStream, elapsed - kRawDelayMs, chunk);
    }
    if (decoder_.PostProcessMode) return;
    if (chunk.size() > kLiveChunkLimit) {
        decoder_.PostProcessMode = true;
        if (!CaptureStopped_) {
            LogStream.write_line(kSwitchLine);
            view_.show_text(kSwitchMessage);
        }
        return;
    }
    decode_live(chunk);
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

bool Capture::stop() {
    CaptureStopped_ = true;
    decoder_.LineNumber = 0;
    decoder_.clear_line_texts();
    decoder_.StartSeen = false;
    const bool was_running = running_;
    running_ = false;
    return was_running;
}

void Capture::report() {
    RawStream.flush();
    const std::string raw_path = raw_path_of(log_path_);
    std::error_code ec;
    const auto size = std::filesystem::file_size(raw_path, ec);
    if (!ec && size == 0) {
        view_.show_text(kNoDataMessage);
    } else if (!ec && decoder_.PostProcessMode) {
        decoder_.Timechk = false;
        view_.set_Timechk(false);
        if (decoder_.DatalogOn) view_.show_text(kPostProcessingMessage);
        post_process_file(raw_path, decoder_, *this);
    }
    // The results are opened by another program: it must see every line.
    LogStream.flush();

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
    RawStream.close();
    LogStream.close();
    decoder_.DatalogOn = false;
}

bool Capture::CreateNewFile(int16_t& LogFileCount, std::string& DataFileName,
                            const std::string& app_folder) {
    // The old log is written out first: the new file may be the very same file.
    LogStream.flush();
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
