#include "log_setup.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "ui/services.h"

namespace velmora::monitor {
namespace {

namespace fs = std::filesystem;
namespace ui = platform::ui;

// Whether P is among the files of its folder, letting the window system run after each.
bool listed_in_folder(const std::string& path) {
    const size_t sep = path.find_last_of("/\\");
    const std::string folder = sep == std::string::npos ? std::string() : path.substr(0, sep + 1);
    std::error_code ec;
    fs::directory_iterator it(folder.empty() ? fs::path(".") : fs::path(folder), ec);
    if (ec) return false;
    bool found = false;
    for (; it != fs::directory_iterator(); it.increment(ec)) {
        if (ec) return false;
        if (folder + it->path().filename().string() == path) found = true;
        ui::services().process_events();
        if (found) break;
    }
    return found && !ec;
}

}  // namespace

std::optional<std::string> Datalogwrite(TextFile& LogStream, TextFile& RawStream) {
    ui::FileDialog dlg;
    dlg.filter = kLogFilter;
    const std::optional<std::string> chosen = ui::services().save_file(dlg);
    if (!chosen || chosen->empty()) return std::nullopt;
    const std::string& path = *chosen;

    if (path.find("Program Files") != std::string::npos) {
        ui::show_message(kProgramFilesRefused);
        return std::nullopt;
    }
    // The raw file is the user's data as much as the log is: neither is ever replaced.
    // A link counts as taken even when it leads nowhere.
    const auto taken = [](const std::string& p) {
        std::error_code ec;
        return fs::exists(fs::symlink_status(p, ec));
    };
    if (taken(path) || taken(raw_path_of(path))) {
        ui::show_message(kOverwriteRefused);
        return std::nullopt;
    }

    std::string failed = path;
    int err = LogStream.create(path, TextFile::Create::New);
    if (err == 0) {
        failed = raw_path_of(path);
        err = RawStream.create(failed, TextFile::Create::New);
    }
    if (err != 0) {
        // Nothing half made stays: a log left behind would refuse the next try as taken.
        // A raw stream still open here is the last capture's: closed, never removed.
        LogStream.discard();
        RawStream.close();
        if (err == EEXIST) {
            ui::show_message(kOverwriteRefused);  // put there since the check above
        } else {
            ui::show_message(std::string(kAccessDenied) + "\r\n" + failed + ": " +
                             std::strerror(err));
        }
        return std::nullopt;
    }
    if (!listed_in_folder(path)) {
        LogStream.discard();
        RawStream.discard();
        ui::show_message(kNotListed);
        return std::nullopt;
    }
    return path;
}

}  // namespace velmora::monitor
