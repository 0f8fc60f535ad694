// Stage 2 of the monitor: event characters -> numbered traffic lines.
// Input: the board's event characters, in order (feed()). Each goes through
// `Decode_Symbol` (symbol_decoder.h), `Display` and `Check_Watchdog`.
// Output, to a LineSink: each completed line of the selected mode, shown when display is
// on and live, logged when logging is on; and the watchdog when more than 4000 events
// pass without a start or stop. In "Hex" mode a line is the events' texts; in "SBS" and
// "PMBus" mode the transaction goes to its decoder at the stop (sbs_decoder.h,
// pmbus_decoder.h). A line starts at each "[S]" with "#" + number + two blanks + time
// stamp + TAB; nothing is assembled before the first "[S]" since the last Stop.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "events.h"
#include "pmbus_decoder.h"
#include "sbs_decoder.h"
#include "symbol_decoder.h"

namespace velmora::monitor {

enum class DecodeMode { Hex, SBS, PMBus };

inline constexpr int kEventSlots = 5002;
inline constexpr int kWatchdogEvents = 4000;
inline constexpr int32_t kLineNumberLimit = 2'000'000'000;
// A line text that grows past this without a stop (a stream of starts, or bits after the
// watchdog) is passed on as it stands and begun anew, so that memory stays bounded.
inline constexpr size_t kMaxLineText = 65536;

// Where completed lines go. Called once per line, never per character.
class LineSink {
  public:
    virtual ~LineSink() = default;
    // The traffic box: the line, then CR LF.
    virtual void show_line(std::string_view line) = 0;
    // The decoded log: the line as one line.
    virtual void log_line(std::string_view line) = 0;
    // More than 4000 events without a start or stop. The line number and event count are
    // already back at 0; stopping the capture and closing the logs is the sink's work.
    virtual void watchdog_fired() = 0;
};

class LineAssembler {
  public:
    explicit LineAssembler(LineSink& sink);
    LineAssembler(const LineAssembler&) = delete;
    LineAssembler& operator=(const LineAssembler&) = delete;

    // Options, as the window's controls and the capture set them.
    DecodeMode mode = DecodeMode::Hex;  // btnHex, btnSBS, btnPMB
    bool DisplayON = true;              // show completed lines
    bool Timechk = false;               // date and time in each new line's prefix
    bool PostProcessMode = false;       // live showing abandoned; lines are only logged
    bool DatalogOn = false;             // log completed lines
    // The time stamp from the clock's local date and time ("09/12/2026 04:28:05"), in the
    // form the user reads dates and times in; the window supplies it. Unset, the clock's
    // text stands.
    std::function<std::string(const std::string&)> stamp_form;
    // The decimal separator of the user's number format, for the Smart Battery
    // temperature; the window supplies it.
    std::string decimal_separator = ".";

    // Decoding state, start values as the window loads.
    BitState bits;
    int16_t EventCount = 0;
    std::array<Event, kEventSlots> Events{};
    int32_t LineNumber = 0;
    std::string HexLineText;
    std::string SbsLineText;
    std::string PmbusLineText;
    bool StartSeen = false;

    struct Fed {
        size_t taken;   // all the characters, or up to the one that fired the watchdog
        bool watchdog;  // the watchdog fired on the last character taken
    };
    // Decodes the characters in order, stopping after one that fires the watchdog.
    Fed feed(const char* chars, size_t n);
    Fed feed(std::string_view chars) { return feed(chars.data(), chars.size()); }

    // One decoded event (kNoEvent while a nibble is unfinished) into the current line.
    void Display(Event symbol);
    // True when it fired.
    bool Check_Watchdog();

    // Start, Clear and Stop empty the three line texts.
    void clear_line_texts();
    // The stream was cut (the receive queue purged): the half-assembled byte and line are
    // dropped, and nothing is assembled before the next start.
    void resync();

  private:
    std::string& line_text();
    void start_line(std::string& text);
    void complete_line(std::string& text);

    LineSink& sink_;
    // The last stamp made, for the clock text it was made from: one a second, not a line.
    std::string stamp_from_;
    std::string stamp_;
    SbsDecoder sbs_;
    PmbusDecoder pmbus_;
};

}  // namespace velmora::monitor
