#include "formats/settings_file.h"

#include <algorithm>

#include "formats/number_text.h"

namespace velmora::formats {
namespace {

constexpr std::string_view kLineEnd = "\r\n";

bool is_blank(char c) {
    return c == ' ' || c == '\t';
}

// The program's texts are UTF-8; a file holds one byte a character, Latin-1, so that every
// byte read comes back when saved.
std::string from_latin1(std::string_view bytes) {
    std::string out;
    for (char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        if (b < 0x80) {
            out += c;
        } else {
            out += static_cast<char>(0xC0 | (b >> 6));
            out += static_cast<char>(0x80 | (b & 0x3F));
        }
    }
    return out;
}

// A character beyond Latin-1, or a broken sequence, is stored as "?".
std::string to_latin1(std::string_view utf8) {
    std::string out;
    for (size_t i = 0; i < utf8.size();) {
        const auto b = static_cast<unsigned char>(utf8[i]);
        const size_t length = b < 0x80 ? 1 : b >= 0xF0 ? 4 : b >= 0xE0 ? 3 : b >= 0xC0 ? 2 : 1;
        size_t n = 1;
        while (n < length && i + n < utf8.size() &&
               (static_cast<unsigned char>(utf8[i + n]) & 0xC0) == 0x80)
            ++n;
        if (b < 0x80)
            out += utf8[i];
        else if (n == 2 && (b == 0xC2 || b == 0xC3))
            out += static_cast<char>(((b & 0x03) << 6) | (utf8[i + 1] & 0x3F));
        else
            out += '?';
        i += n;
    }
    return out;
}

std::string_view mode_text(BusMode mode) {
    switch (mode) {
        case BusMode::SBS:
            return "SBS";
        case BusMode::PMBus:
            return "PMB";
        case BusMode::I2C:
            break;
    }
    return "I2C";
}

// A bare line loses leading blanks and surrounding quotes, and other copies of the
// program cut a bare value at its first comma; such values are written in quotes, which
// every reader takes off again. A quote inside them is doubled, so that the first single
// quote closes the value. A single-line box holds no line break; one that slipped in is
// dropped so that it cannot shift the following lines.
std::string stored_value(std::string_view value) {
    std::string v;
    for (char c : value)
        if (c != '\r' && c != '\n') v += c;
    bool quote = !v.empty() && (is_blank(v.front()) || v.front() == '"');
    quote = quote || v.find(',') != std::string::npos;
    if (!quote) return v;
    std::string q = "\"";
    for (char c : v) q.append(c == '"' ? 2 : 1, c);
    return q + "\"";
}

// The line after its leading blanks: bare, the whole rest; quoted, the text up to the
// closing quote (a doubled quote stands for one), whatever follows it.
std::string line_value(std::string_view line) {
    size_t i = 0;
    while (i < line.size() && is_blank(line[i])) ++i;
    line.remove_prefix(i);
    if (line.empty() || line.front() != '"') return std::string(line);
    std::string v;
    for (size_t k = 1; k < line.size(); ++k) {
        if (line[k] == '"') {
            if (k + 1 == line.size() || line[k + 1] != '"') break;
            ++k;
        }
        v += line[k];
    }
    return v;
}

// Splits at CR LF, LF or a lone CR; a last line without an ending counts when not empty.
std::vector<std::string_view> split_lines(std::string_view file, size_t most) {
    std::vector<std::string_view> lines;
    size_t start = 0;
    while (start < file.size() && lines.size() < most) {
        size_t end = file.find_first_of("\r\n", start);
        if (end == std::string_view::npos) {
            lines.push_back(file.substr(start));
            break;
        }
        lines.push_back(file.substr(start, end - start));
        start =
            end + ((file[end] == '\r' && end + 1 < file.size() && file[end + 1] == '\n') ? 2 : 1);
    }
    return lines;
}

}  // namespace

std::string settings_text(BusMode mode, std::span<const PanelRecord> records) {
    if (records.size() > kMaxOpenPanels + 1) records = records.first(kMaxOpenPanels + 1);
    size_t open = records.empty() ? 0 : records.size() - 1;
    std::string out = std::to_string(open);
    out += kLineEnd;
    out += mode_text(mode);
    out += kLineEnd;
    PanelRecord blank_main{};
    if (records.empty()) records = std::span<const PanelRecord>(&blank_main, 1);
    for (const PanelRecord& record : records) {
        for (const std::string& value : record) {
            out += stored_value(to_latin1(value));
            out += kLineEnd;
        }
    }
    return out;
}

SettingsRead read_settings(std::string_view file) {
    SettingsRead read;
    constexpr size_t kMostLines = 2 + kRecordFields * (kMaxOpenPanels + 1);
    std::vector<std::string_view> lines = split_lines(file, kMostLines);
    if (lines.empty()) return read;
    // A count outside 0..8 opens what it can: above 8 stops at 8, below 0 opens none.
    double count = leading_number(line_value(lines[0]));
    read.panel_count =
        static_cast<int>(std::clamp(round_half_even(count), 0.0, double{kMaxOpenPanels}));
    if (lines.size() < 2) return read;
    const std::string mode = line_value(lines[1]);
    read.mode = mode == "SBS"   ? BusMode::SBS
                : mode == "PMB" ? BusMode::PMBus
                                : BusMode::I2C;
    size_t wanted = kRecordFields * static_cast<size_t>(1 + *read.panel_count);
    for (size_t i = 2; i < lines.size() && read.fields.size() < wanted; ++i)
        read.fields.push_back(from_latin1(line_value(lines[i])));
    return read;
}

bool settings_path_refused(std::string_view path) {
    return path.find("Program Files") != std::string_view::npos;
}

}  // namespace velmora::formats
