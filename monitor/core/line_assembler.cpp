#include "line_assembler.h"

#include <charconv>
#include <utility>

#include "ui/services.h"

namespace velmora::monitor {

LineAssembler::LineAssembler(LineSink& sink) : sink_(sink) {
    // Room for a long line up front: completing lines then never allocates.
    for (std::string* s : {&HexLineText, &SbsLineText, &PmbusLineText}) s->reserve(4096);
}

LineAssembler::Fed LineAssembler::feed(const char* chars, size_t n) {
    for (size_t i = 0; i < n; ++i) {
        const Event symbol = Decode_Symbol(bits, static_cast<unsigned char>(chars[i]));
        // An unfinished nibble shows nothing and leaves the event count as it was.
        if (symbol == kNoEvent) continue;
        Display(symbol);
        if (Check_Watchdog()) return {i + 1, true};
    }
    return {n, false};
}

std::string& LineAssembler::line_text() {
    switch (mode) {
        case DecodeMode::SBS:
            return SbsLineText;
        case DecodeMode::PMBus:
            return PmbusLineText;
        default:
            return HexLineText;
    }
}

void LineAssembler::start_line(std::string& text) {
    LineNumber = static_cast<int32_t>(int64_t{LineNumber} + 1);
    char num[16];
    const auto r = std::to_chars(num, num + sizeof num, LineNumber);
    text.push_back('#');
    text.append(num, r.ptr);
    text.append("  ");
    if (Timechk) {
        std::string now = platform::ui::clock().local_datetime_text();
        if (now != stamp_from_) {
            stamp_ = stamp_form ? stamp_form(now) : now;
            stamp_from_ = std::move(now);
        }
        text.append(stamp_);
    }
    text.push_back('\t');
}

void LineAssembler::complete_line(std::string& text) {
    if (!PostProcessMode && DisplayON) sink_.show_line(text);
    if (DatalogOn) sink_.log_line(text);
    text.clear();
}

void LineAssembler::Display(Event symbol) {
    if (symbol == kStartEvent) StartSeen = true;
    if (!StartSeen || symbol == kNoEvent) return;

    if (symbol == kStartEvent) EventCount = 0;
    // The watchdog keeps the count at 4001 at most; the guard holds for any caller.
    if (EventCount < kEventSlots - 1) Events[++EventCount] = symbol;

    std::string& text = line_text();
    if (symbol == kStartEvent) start_line(text);
    switch (mode) {
        case DecodeMode::Hex:
            append_event(text, symbol);
            if (symbol == kStopEvent) complete_line(text);
            break;
        case DecodeMode::SBS:
            if (symbol == kStopEvent) {
                sbs_.decode(Events.data(), EventCount, decimal_separator, text);
                complete_line(text);
            }
            break;
        case DecodeMode::PMBus:
            if (symbol == kStopEvent) {
                pmbus_.decode(Events.data(), EventCount, text);
                complete_line(text);
            }
            break;
    }
    if (text.size() > kMaxLineText) complete_line(text);

    if (symbol == kStopEvent) EventCount = 0;
    if (LineNumber > kLineNumberLimit) LineNumber = 0;
}

bool LineAssembler::Check_Watchdog() {
    if (EventCount <= kWatchdogEvents) return false;
    LineNumber = 0;
    EventCount = 0;
    sink_.watchdog_fired();
    return true;
}

void LineAssembler::clear_line_texts() {
    HexLineText.clear();
    SbsLineText.clear();
    PmbusLineText.clear();
}

void LineAssembler::resync() {
    bits = BitState{};
    clear_line_texts();
    EventCount = 0;
    StartSeen = false;
}

}  // namespace velmora::monitor
