#include "enumerate.h"

#include <array>
#include <string>

#include "device_operations.h"
#include "eeprom_device.h"
#include "eeprom_image.h"
#include "eeprom_parse.h"
#include "programmer_state.h"
#include "rawlink_unit.h"
#include "text_helpers.h"
#include "window_steps.h"

namespace pelmo {
namespace {

enum class Purpose { Erase, Program, Read };
enum class Channel { Any, NotB, NotLater };

struct Rule {
    uint32_t types = 0;  // device type codes allowed (bit = code); 0 = no type test
    Channel channel = Channel::Any;
    bool upper_type = false;
    // OnlyBlank program rule of the single-channel kinds: only blank devices of the
    // allowed types count; a device whose info call fails counts as programmed.
    bool blank_only_count = false;
};

constexpr uint32_t Type(int code) {
    return 1u << code;
}

enum class Group { Dual, HsDual, HsQuad, T4, Other };

struct RuleRow {
    Group group;
    Purpose purpose;
    Rule off;  // OnlyBlank off: every device that passes is counted and listed
    Rule on;   // OnlyBlank on: parsed first, counted, listed only when blank
};

constexpr Rule kAll{};
constexpr Rule kNotB{0, Channel::NotB};
constexpr Rule kNotLater{0, Channel::NotLater};
constexpr Rule kSingleChannelBlank{Type(0) | Type(1), Channel::Any, false, true};

constexpr RuleRow kRules[] = {
    {Group::Dual, Purpose::Erase, {Type(4), Channel::NotB}, kNotB},
    {Group::Dual, Purpose::Program, {Type(4), Channel::NotB}, {Type(4), Channel::NotB}},
    {Group::Dual, Purpose::Read, kNotLater, kNotLater},
    {Group::HsDual, Purpose::Erase, {Type(6), Channel::NotLater}, kNotLater},
    {Group::HsDual, Purpose::Program, {Type(6), Channel::NotLater}, {Type(6), Channel::NotLater}},
    {Group::HsDual, Purpose::Read, kNotLater, kNotLater},
    {Group::HsQuad, Purpose::Erase, {Type(7), Channel::NotLater}, kNotLater},
    {Group::HsQuad, Purpose::Program, {Type(7), Channel::NotLater}, {Type(7), Channel::NotLater}},
    {Group::HsQuad, Purpose::Read, kNotLater, kNotLater},
    {Group::T4, Purpose::Erase, {Type(5), Channel::Any, true}, kAll},
    {Group::T4, Purpose::Program, {Type(5), Channel::Any, true}, kSingleChannelBlank},
    {Group::T4, Purpose::Read, kAll, kAll},
    {Group::Other, Purpose::Erase, kAll, kAll},
    {Group::Other, Purpose::Program, {Type(0) | Type(1)}, kSingleChannelBlank},
    {Group::Other, Purpose::Read, kAll, kAll},
};

Rule RuleFor(Group group, Purpose purpose, bool only_blank) {
    for (const auto& row : kRules) {
        if (row.group == group && row.purpose == purpose) return only_blank ? row.on : row.off;
    }
    return kAll;
}

Group GroupOf(ChipKind kind) {
    switch (kind) {
        case ChipKind::Dual:
            return Group::Dual;
        case ChipKind::HsDual:
            return Group::HsDual;
        case ChipKind::HsQuad:
            return Group::HsQuad;
        case ChipKind::T4:
            return Group::T4;
        default:
            return Group::Other;
    }
}

struct Info {
    bool ok = false;
    uint32_t type = 0;
    std::string_view description;
    std::array<char, kStringBufferSize> serial_buffer{};
    std::array<char, kStringBufferSize> description_buffer{};
};

void QueryInfo(Info& info) {
    uint32_t id = 0;
    info.ok = GetDeviceInfoEx(&info.type, &id, info.serial_buffer.data(),
                              info.description_buffer.data(), nullptr) == 0;
    const auto& d = info.description_buffer;
    size_t n = 0;
    while (n < d.size() && d[n] != '\0') ++n;
    info.description = std::string_view(d.data(), n);
}

bool ChannelPasses(Channel c, std::string_view description) {
    switch (c) {
        case Channel::NotB:
            return !EndsWithChannelB(description);
        case Channel::NotLater:
            return !EndsWithLaterChannel(description);
        case Channel::Any:
            return true;
    }
    return true;
}

bool EndsWithChannel(std::string_view d, std::string_view letters) {
    if (d.size() > kStringBufferSize) d = d.substr(0, kStringBufferSize);
    if (d.empty() || letters.find(d.back()) == std::string_view::npos) return false;
    return d.size() == 1 || d[d.size() - 2] == ' ';
}

// The operations number their own lines by position in their lists; this line names the
// device by the serial number the driver lists for it, so that no number stands for two.
void ReportUnreadable(int32_t index) {
    StringBuffer serial{};
    const bool listed = GetDeviceSerialByIndex(index, serial.data()) == 0;
    std::string line = "ERROR - Read EEPROM failed on the device ";
    if (listed && !BufferText(serial).empty()) {
        line += "with Serial Number " + BufferText(serial);
    } else {
        line += "without a Serial Number at driver index " + std::to_string(index);
    }
    window().add_log_line(line);
}

class Enumeration {
  public:
    explicit Enumeration(Purpose purpose)
        : selected_(state().Kinds),
          only_blank_(state().OnlyBlank),
          rule_(RuleFor(GroupOf(SelectedKind(selected_)), purpose, only_blank_)) {}

    int32_t Run() {
        auto& s = state();
        s.TargetList.fill(0);
        s.OpenedList.fill(0);
        s.CountedList.fill(0);
        s.OpenedCount = s.BlankCount = s.ProgrammedCount = 0;
        s.TargetCount = 0;
        if (GetDeviceCount() != 0) return 0;
        s.DeviceIndex = 0;
        for (int32_t index = 0; index < s.DeviceCount && index < kDeviceLimit; ++index) {
            s.DeviceIndex = index;
            if (OpenDevice() != 0) continue;
            s.DeviceOpen = true;
            s.OpenedList[s.OpenedCount++] = index;
            Judge(index);
            CloseOpenDevice();
        }
        return s.TargetCount;
    }

  private:
    void Count(int32_t index, bool blank) {
        auto& s = state();
        const int32_t k = s.BlankCount + s.ProgrammedCount;
        s.CountedList[k] = index;
        s.CountedKinds[k] = found_;
        ++(blank ? s.BlankCount : s.ProgrammedCount);
    }

    int Parse() { return ReadAndParseKeepingKinds(&found_); }

    void Judge(int32_t index) {
        auto& s = state();
        // Every parse starts from the selected kind and leaves it as it was, so that no
        // device is judged, and no later operation chooses its devices, by the kind of
        // a device before it.
        int parsed = -1;
        if (only_blank_) parsed = Parse();
        if (rule_.types != 0 || rule_.channel != Channel::Any) {
            Info info;
            QueryInfo(info);
            if (!info.ok) {
                if (rule_.blank_only_count) Count(index, false);
                return;
            }
            if (rule_.types != 0 &&
                (info.type >= 32 || !(rule_.types & Type(static_cast<int>(info.type))))) {
                return;
            }
            if (!ChannelPasses(rule_.channel, info.description)) return;
        }
        if (rule_.upper_type &&
            !UpperTypeTest(selected_.KindT4Fifo, window().ignore_upper_type())) {
            return;
        }
        if (!only_blank_) parsed = Parse();
        // An unreadable EEPROM is neither blank nor programmed: reported and counted
        // neither way, but listed where every device is (cycling a port needs no EEPROM).
        const bool unreadable = parsed == kParseReadFailed;
        if (unreadable) ReportUnreadable(index);
        const bool blank = parsed == kParseInvalid;
        if (rule_.blank_only_count && !blank) return;
        if (!unreadable) Count(index, blank);
        if (!only_blank_ || blank) s.TargetList[s.TargetCount++] = index;
    }

    KindFlags selected_;
    bool only_blank_;
    Rule rule_;
    KindFlags found_;  // what the last parse found
};

}  // namespace

bool EndsWithChannelB(std::string_view description) {
    return EndsWithChannel(description, "B");
}

bool EndsWithLaterChannel(std::string_view description) {
    return EndsWithChannel(description, "BCD");
}

bool UpperTypeTest(bool fifo_model, bool ignore_upper_type) {
    // A failed read keeps the word's previous value.
    std::array<uint16_t, 3> words{};
    for (uint32_t i = 0; i < words.size(); ++i) {
        if (ReadEEWord(64 + i) == 0) words[i] = state().LastEepromWord;
    }
    if (words[2] == 0xFFFF) words[2] = 0;
    if (words[1] != static_cast<uint16_t>(~words[0])) return false;
    return ignore_upper_type || ((words[2] & 0x0001) != 0) == fifo_model;
}

int32_t FindEraseTargets() {
    return Enumeration(Purpose::Erase).Run();
}
int32_t FindProgramTargets() {
    return Enumeration(Purpose::Program).Run();
}
int32_t FindReadTargets() {
    return Enumeration(Purpose::Read).Run();
}

}  // namespace pelmo
