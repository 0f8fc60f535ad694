#include "win_paths.h"

#include "text_fields.h"

namespace platform::win {
namespace {

bool valid_file_name(std::string_view name) {
    if (name.size() > 255 || name.back() == '.' || name.back() == ' ') return false;
    for (char ch : name) {
        auto c = static_cast<unsigned char>(ch);
        if (c < 0x20 || std::string_view("<>:\"|?*").find(ch) != std::string_view::npos)
            return false;
    }
    return true;
}

bool is_separator(char c) {
    return c == '\\' || c == '/';
}

}  // namespace

std::optional<std::vector<std::string>> path_components(std::string_view path) {
    if (path.size() < 3 || !is_separator(path[2]) || path[1] != ':') return std::nullopt;
    char drive = path[0];
    if (drive >= 'a' && drive <= 'z') drive = static_cast<char>(drive - 'a' + 'A');
    if (drive < 'A' || drive > 'Z') return std::nullopt;
    std::vector<std::string> parts{std::string{drive, ':'}};
    size_t pos = 3;
    while (pos <= path.size()) {
        size_t end = pos;
        while (end < path.size() && !is_separator(path[end])) ++end;
        std::string_view name = path.substr(pos, end - pos);
        pos = end + 1;
        if (name.empty() || name == ".") continue;
        if (name == "..") {
            if (parts.size() > 1) parts.pop_back();
            continue;
        }
        if (!valid_file_name(name)) return std::nullopt;
        parts.emplace_back(name);
    }
    return parts;
}

std::optional<std::string> full_path_name(std::string_view path) {
    auto parts = path_components(path);
    if (!parts) return std::nullopt;
    std::string out = (*parts)[0] + "\\";
    for (size_t i = 1; i < parts->size(); ++i) out += (i > 1 ? "\\" : "") + (*parts)[i];
    return out;
}

std::optional<std::vector<std::string>> names_below(std::string_view folder,
                                                    std::string_view path) {
    auto base = path_components(folder);
    auto full = path_components(path);
    if (!base || !full || full->size() <= base->size()) return std::nullopt;
    for (size_t i = 0; i < base->size(); ++i)
        if (!equal_no_case((*base)[i], (*full)[i])) return std::nullopt;
    return std::vector<std::string>(full->begin() + static_cast<std::ptrdiff_t>(base->size()),
                                    full->end());
}

}  // namespace platform::win
