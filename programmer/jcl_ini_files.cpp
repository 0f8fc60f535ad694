#include "jcl_ini_files.h"

#include <algorithm>
#include <charconv>
#include <filesystem>
#include <iterator>

#include "files/atomic_file.h"

namespace pelmo {
namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string_view Trim(std::string_view s) {
    while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
    return s;
}

char Lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool SameName(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                              [](char x, char y) { return Lower(x) == Lower(y); });
}

// The name of a section header line, or nothing for any other line.
std::optional<std::string_view> SectionName(std::string_view line) {
    line = Trim(line);
    if (line.empty() || line.front() != '[') return std::nullopt;
    line.remove_prefix(1);
    const size_t close = line.find(']');
    return Trim(line.substr(0, close));
}

struct KeyLine {
    std::string_view key;
    std::string_view value;  // as written after the equals sign
};

// Values are kept as written, so that a text with a leading or trailing blank reads back
// as it was saved; only the key is trimmed.
std::optional<KeyLine> ParseKeyLine(std::string_view line) {
    const std::string_view trimmed = Trim(line);
    if (trimmed.empty() || trimmed.front() == ';' || trimmed.front() == '[') return std::nullopt;
    const size_t eq = line.find('=');
    if (eq == std::string_view::npos) return std::nullopt;
    return KeyLine{Trim(line.substr(0, eq)), line.substr(eq + 1)};
}

// Where a section's lines are: its header and one past its last line.
struct SectionSpan {
    size_t header;
    size_t end;
};

std::optional<SectionSpan> FindSection(const std::vector<std::string>& lines,
                                       std::string_view section) {
    for (size_t i = 0; i < lines.size(); ++i) {
        const auto name = SectionName(lines[i]);
        if (!name || !SameName(*name, section)) continue;
        size_t end = i + 1;
        while (end < lines.size() && !SectionName(lines[end])) ++end;
        return SectionSpan{i, end};
    }
    return std::nullopt;
}

std::optional<size_t> FindKey(const std::vector<std::string>& lines, const SectionSpan& span,
                              std::string_view key) {
    for (size_t i = span.header + 1; i < span.end; ++i) {
        const auto kv = ParseKeyLine(lines[i]);
        if (kv && SameName(kv->key, key)) return i;
    }
    return std::nullopt;
}

// A FIFO, folder or device reads as a missing file.
IniDocument ReadOrEmpty(const std::string& file) {
    return ReadIniFile(file).value_or(IniDocument{});
}

bool WriteValue(const std::string& file, std::string_view section, std::string_view key,
                std::string_view value) {
    auto doc = ReadIniForRewrite(file);
    if (!doc) return false;
    doc->Set(section, key, value);
    return platform::files::write_file_atomically(file, doc->Text());
}

}  // namespace

IniDocument IniDocument::Parse(std::string_view text) {
    IniDocument doc;
    // A file saved as UTF-8 by an editor may begin with a byte order mark; left in the
    // first line, it would hide that line's section.
    if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
    size_t start = 0;
    while (start < text.size()) {
        const size_t end = text.find_first_of("\r\n", start);
        if (end == std::string_view::npos) {
            doc.lines_.emplace_back(text.substr(start));
            break;
        }
        doc.lines_.emplace_back(text.substr(start, end - start));
        start = end + 1;
        if (text[end] == '\r' && start < text.size() && text[start] == '\n') ++start;
    }
    return doc;
}

std::optional<std::string> IniDocument::Get(std::string_view section, std::string_view key) const {
    const auto span = FindSection(lines_, section);
    if (!span) return std::nullopt;
    const auto at = FindKey(lines_, *span, key);
    if (!at) return std::nullopt;
    return std::string(ParseKeyLine(lines_[*at])->value);
}

bool IniDocument::GetBool(std::string_view section, std::string_view key) const {
    return GetInteger(section, key) != 0;
}

int32_t IniDocument::GetInteger(std::string_view section, std::string_view key) const {
    const auto value = Get(section, key);
    return value ? ParseIniInteger(*value).value_or(0) : 0;
}

std::string IniDocument::GetString(std::string_view section, std::string_view key) const {
    return Get(section, key).value_or("");
}

void IniDocument::Set(std::string_view section, std::string_view key, std::string_view value) {
    std::string line(key);
    line += '=';
    std::transform(value.begin(), value.end(), std::back_inserter(line),
                   [](char c) { return c == '\r' || c == '\n' ? ' ' : c; });

    const auto span = FindSection(lines_, section);
    if (!span) {
        std::string header = "[";
        header += section;
        header += ']';
        lines_.push_back(std::move(header));
        lines_.push_back(std::move(line));
        return;
    }
    if (const auto at = FindKey(lines_, *span, key)) {
        lines_[*at] = std::move(line);
        return;
    }
    // After the section's last key, so that blank lines and comments behind it stay
    // in front of the next section.
    size_t insert = span->header + 1;
    for (size_t i = span->header + 1; i < span->end; ++i) {
        if (ParseKeyLine(lines_[i])) insert = i + 1;
    }
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(insert), std::move(line));
}

std::string IniDocument::Text() const {
    std::string text;
    for (const auto& line : lines_) {
        text += line;
        text += "\r\n";
    }
    return text;
}

std::optional<IniDocument> ReadIniFile(const std::string& file) {
    const auto text = platform::files::read_whole_file(file, kIniReadLimit);
    if (!text) return std::nullopt;
    return IniDocument::Parse(*text);
}

std::optional<IniDocument> ReadIniForRewrite(const std::string& file) {
    // Read first, then ask why not: a name that is there, even a link leading nowhere, is
    // never taken for a new file.
    if (auto doc = ReadIniFile(file)) return doc;
    std::error_code ec;
    if (std::filesystem::symlink_status(file, ec).type() != std::filesystem::file_type::not_found)
        return std::nullopt;
    return IniDocument{};
}

std::optional<int32_t> ParseIniInteger(std::string_view value) {
    value = Trim(value);
    if (value.size() > 1 && value[0] == '+' && value[1] != '-') value.remove_prefix(1);
    int32_t n = 0;
    const auto [end, ec] = std::from_chars(value.data(), value.data() + value.size(), n);
    if (ec != std::errc() || end != value.data() + value.size() || value.empty()) {
        return std::nullopt;
    }
    return n;
}

std::string IniBoolText(bool value) {
    return value ? "1" : "0";
}

std::string IniIntegerText(int32_t value) {
    return std::to_string(value);
}

namespace JclIniFiles {

bool IniGetBool(const std::string& file, std::string_view section, std::string_view key) {
    return ReadOrEmpty(file).GetBool(section, key);
}

int32_t IniGetInteger(const std::string& file, std::string_view section, std::string_view key) {
    return ReadOrEmpty(file).GetInteger(section, key);
}

std::string IniGetString(const std::string& file, std::string_view section, std::string_view key) {
    return ReadOrEmpty(file).GetString(section, key);
}

bool IniPutBool(const std::string& file, std::string_view section, std::string_view key,
                bool value) {
    return WriteValue(file, section, key, IniBoolText(value));
}

bool IniPutInteger(const std::string& file, std::string_view section, std::string_view key,
                   int32_t value) {
    return WriteValue(file, section, key, IniIntegerText(value));
}

bool IniPutString(const std::string& file, std::string_view section, std::string_view key,
                  std::string_view value) {
    return WriteValue(file, section, key, value);
}

}  // namespace JclIniFiles
}  // namespace pelmo
