// Test helpers: event characters from a readable transaction text, and a sink that
// records what the line assembler hands on.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <ostream>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "line_assembler.h"

namespace velmora::monitor::testing {

// "S 16a 09a R 17a 34a 30n P" -> the board's characters: markers as they stand, "XXa"
// a byte with its acknowledge, "XXn" a byte not acknowledged, "=chars" literal chars.
inline std::string events(std::string_view text) {
    std::istringstream in{std::string(text)};
    std::string tok, out;
    while (in >> tok) {
        if (tok == "S" || tok == "R" || tok == "P") {
            out += tok;
        } else if (tok[0] == '=') {
            out += tok.substr(1);
        } else {
            const long byte = std::strtol(tok.substr(0, 2).c_str(), nullptr, 16);
            for (int bit = 7; bit >= 0; --bit) out += ((byte >> bit) & 1) ? '1' : '0';
            out += tok[2] == 'a' ? '0' : '1';
        }
    }
    return out;
}

class RecordingSink : public LineSink {
  public:
    std::vector<std::string> shown;
    std::vector<std::string> logged;
    int watchdogs = 0;

    void show_line(std::string_view line) override { shown.emplace_back(line); }
    void log_line(std::string_view line) override { logged.emplace_back(line); }
    void watchdog_fired() override { ++watchdogs; }
};

// A line assembler that shows and logs, with its sink.
struct Assembler {
    RecordingSink sink;
    LineAssembler dec{sink};
    explicit Assembler(DecodeMode mode = DecodeMode::Hex) {
        dec.mode = mode;
        dec.DatalogOn = true;
    }
    // Feeds the transaction text and returns the lines shown.
    std::vector<std::string> run(std::string_view text) {
        dec.feed(events(text));
        return sink.shown;
    }
};

// The prefix of line n without a time stamp.
inline std::string prefix(int n) {
    std::string p = "#";
    p += std::to_string(n);
    p += "  \t";
    return p;
}

// A golden case of a traffic decoder: one transaction in, its line after the prefix out.
struct Golden {
    const char* what;
    const char* events;
    const char* line;
};

inline void PrintTo(const Golden& g, std::ostream* os) {
    *os << g.what;
}

// Whether the transaction of `g` gives exactly its line in `mode`.
inline ::testing::AssertionResult decodes_to_golden_line(DecodeMode mode, const Golden& g) {
    Assembler a(mode);
    const std::vector<std::string> lines = a.run(g.events);
    const std::string want = prefix(1) + g.line;
    if (lines.size() == 1 && lines[0] == want) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << g.what << "\n  got: " << (lines.empty() ? "(no line)" : lines[0])
           << "\n want: " << want;
}

}  // namespace velmora::monitor::testing
