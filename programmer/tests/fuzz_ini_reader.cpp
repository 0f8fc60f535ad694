// Any bytes as an INI file: parsing and looking up never crash, and a value set is read
// back as set (line breaks turned into blanks) after the text is written and parsed again.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "jcl_ini_files.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    // The first line names a section, the second a key, the third a value; the whole
    // input is also the file.
    std::string_view rest = input;
    auto next = [&rest] {
        const size_t end = rest.find('\n');
        std::string_view part = rest.substr(0, end);
        rest = end == std::string_view::npos ? std::string_view{} : rest.substr(end + 1);
        return part;
    };
    std::string section(next());
    std::string key(next());
    const std::string value(next());

    pelmo::IniDocument doc = pelmo::IniDocument::Parse(input);
    (void)doc.Get(section, key);
    if (const auto v = doc.Get("Basic Details", "Device Type")) (void)pelmo::ParseIniInteger(*v);

    // Names as a caller passes them: no brackets, equals signs or line breaks, no blanks
    // around them.
    for (std::string* name : {&section, &key}) {
        std::string clean;
        for (char c : *name) {
            if (c != '[' && c != ']' && c != '=' && c != '\r' && c != '\n' && c != ';' &&
                c != ' ' && c != '\t') {
                clean += c;
            }
        }
        *name = clean.empty() ? "k" : clean;
    }
    doc.Set(section, key, value);
    std::string expected = value;
    for (char& c : expected) {
        if (c == '\r' || c == '\n') c = ' ';
    }
    const pelmo::IniDocument again = pelmo::IniDocument::Parse(doc.Text());
    if (again.Get(section, key) != expected) std::abort();
    if (pelmo::IniDocument::Parse(again.Text()).Text() != again.Text()) std::abort();
    return 0;
}
