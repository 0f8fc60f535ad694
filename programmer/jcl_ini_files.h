// INI files as the templates use them: `[Section]` lines and `Key=value` lines, CR LF
// line ends, section and key names matched without regard to case. Values are "1"/"0"
// for booleans, decimal integers and plain texts.
//
// The six helpers of JclIniFiles each open the file for one access and close it again,
// so a template on disk is never held open between two accesses.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pelmo {

// The text of an INI file as its lines. Lines it does not understand (junk, comments,
// keys before the first section) are kept and written back unchanged.
class IniDocument {
  public:
    // Lines end with CR LF, LF or a lone CR.
    static IniDocument Parse(std::string_view text);

    // The value of the first key of that name in the first section of that name.
    std::optional<std::string> Get(std::string_view section, std::string_view key) const;
    // The same read as the Get helpers of JclIniFiles read it: missing gives false, 0, "".
    bool GetBool(std::string_view section, std::string_view key) const;
    int32_t GetInteger(std::string_view section, std::string_view key) const;
    std::string GetString(std::string_view section, std::string_view key) const;
    // Replaces that value, or adds the key at the end of the section, or adds the section
    // at the end of the file. CR and LF in the value become blanks, so a value can never
    // start a line of its own.
    void Set(std::string_view section, std::string_view key, std::string_view value);

    // Every line followed by CR LF.
    std::string Text() const;

  private:
    std::vector<std::string> lines_;
};

// A decimal integer with an optional sign and blanks around it; nothing when the text is
// not one whole number that fits 32 bits.
std::optional<int32_t> ParseIniInteger(std::string_view value);

// The texts the Put helpers write: "1" or "0", and decimal integers.
std::string IniBoolText(bool value);
std::string IniIntegerText(int32_t value);

// A template is a few kilobytes; a larger file is not read, so that a wrong file chosen
// by mistake cannot stall the window, and one cut short is never taken for a whole one.
inline constexpr size_t kIniReadLimit = 1 << 20;

// The file read and parsed once; nothing when it is missing, not a regular file, longer
// than kIniReadLimit, or cannot be read.
std::optional<IniDocument> ReadIniFile(const std::string& file);
// The document that rewriting `file` starts from: its lines, or none when no file is
// there. Nothing when something is there that cannot be read whole (even a link leading
// nowhere): rewriting it would lose its lines.
std::optional<IniDocument> ReadIniForRewrite(const std::string& file);

namespace JclIniFiles {

// Missing file, section or key: false, 0, "". Booleans are true for any non-zero number.
bool IniGetBool(const std::string& file, std::string_view section, std::string_view key);
int32_t IniGetInteger(const std::string& file, std::string_view section, std::string_view key);
std::string IniGetString(const std::string& file, std::string_view section, std::string_view key);

// Each returns false when the file could not be written.
bool IniPutBool(const std::string& file, std::string_view section, std::string_view key,
                bool value);
bool IniPutInteger(const std::string& file, std::string_view section, std::string_view key,
                   int32_t value);
bool IniPutString(const std::string& file, std::string_view section, std::string_view key,
                  std::string_view value);

}  // namespace JclIniFiles
}  // namespace pelmo
