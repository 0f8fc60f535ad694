// World text -> World. One keyword a line; a `board` or `chip` line opens a block that the
// following lines fill until the next one. See WORLD.md.
#include <unistd.h>

#include <tuple>

#include "bus_presets.h"
#include "eeprom.h"
#include "faults.h"
#include "files/atomic_file.h"
#include "kinds.h"
#include "world.h"
#include "world_text.h"

namespace rawlnk {
namespace {

constexpr std::string_view kBoardDescription = "ZOQ ONBOARD RS232 CNTLR";
constexpr uint32_t kMaxRate = 120000;  // characters a second on the 1,200,000 baud link
constexpr int kGen4Words = 128;

using Args = std::vector<Token>;

struct Failure {
    std::string what;
};

struct ChipDraft {
    ChipSpec spec;
    int line = 0;
    bool programmed = false;
    bool ee_set = false, vid_set = false, pid_set = false, desc_set = false;
    std::string manufacturer;
    bool fifo_model = false;
    std::vector<std::tuple<int, int, uint16_t>> words;  // line, index, value
};

struct FaultDraft {
    int line;
    std::string target, name;
    int count;
    uint32_t value;
};

int64_t number(const Token& t, int64_t lo, int64_t hi, std::string_view what) {
    const auto v = t.quoted ? std::nullopt : parse_number(t.text);
    if (!v || *v < lo || *v > hi)
        throw Failure{std::string(what) + " must be a number from " + std::to_string(lo) + " to " +
                      std::to_string(hi) + ", not \"" + t.text + "\""};
    return *v;
}

std::string text_arg(const Token& t) {
    if (t.text.size() > kMaxText)
        throw Failure{"text longer than " + std::to_string(kMaxText) + " characters"};
    return t.text;
}

std::string read_file(const std::string& path) {
    auto bytes = read_whole_file(path);
    if (!bytes) throw Failure{"cannot read \"" + path + "\": " + why_unreadable(path)};
    return std::move(*bytes);
}

class Parser {
  public:
    Parser(const std::string& base_dir, World& world) : base_dir_(base_dir), world_(world) {}

    void line(int no, const Args& a) {
        line_ = no;
        const std::string& key = a[0].text;
        if (key == "board" || key == "chip") return open_block(a, key == "board");
        if (key == "fault") return fault(a);
        if (chips_.empty()) throw Failure{"\"" + key + "\" outside a board or chip block"};
        ChipDraft& c = chips_.back();
        if (key == "kind") return kind(c, a);
        if (key == "serial") return void(c.spec.serial = text_arg(exact(a, 2)[1]));
        if (key == "description") {
            c.desc_set = true;
            return void(c.spec.description = text_arg(exact(a, 2)[1]));
        }
        if (key == "vid") return ids(c.spec.vid, c.vid_set, a);
        if (key == "pid") return ids(c.spec.pid, c.pid_set, a);
        if (key == "eeprom") return eeprom(c, a);
        if (key == "image") return image(c, a);
        if (key == "words") return words(c, a);
        if (key == "model") return model(c, a);
        if (!c.spec.board) {
            if (key == "firmware" || key == "device" || key == "reg" || key == "traffic")
                throw Failure{"\"" + key + "\" belongs to a board, not a chip"};
            throw Failure{"unknown keyword \"" + key + "\""};
        }
        if (key == "firmware")
            return void(c.spec.firmware =
                            static_cast<int>(number(exact(a, 2)[1], 0, 255, "firmware")));
        if (key == "device") return device(c, a);
        if (key == "reg") return reg(c, a);
        if (key == "traffic") return traffic(c, a);
        throw Failure{"unknown keyword \"" + key + "\""};
    }

    void finish() {
        int next_device = 0;
        for (auto& c : chips_) {
            line_ = c.line;
            finish_chip(c);
            c.spec.first_device = next_device;
            next_device += find_kind(c.spec.kind)->channels;
            if (next_device > kMaxDevices)
                throw Failure{"more than " + std::to_string(kMaxDevices) + " devices"};
            world_.chips.push_back(std::move(c.spec));
        }
        for (const auto& f : faults_) {
            line_ = f.line;
            world_.faults.push_back({resolve(f.target), f.name, f.count, f.value});
        }
    }

    int line_no() const { return line_; }

  private:
    static const Args& need(const Args& a, size_t n) {
        if (a.size() < n) throw Failure{"\"" + a[0].text + "\" needs more values"};
        return a;
    }
    static const Args& exact(const Args& a, size_t n) {
        need(a, n);
        if (a.size() > n) throw Failure{"too many values after \"" + a[0].text + "\""};
        return a;
    }

    void open_block(const Args& a, bool board) {
        need(a, 2);
        const std::string& name = a[1].text;
        if (name.empty() ||
            name.find_first_not_of("abcdefghijklmnopqrstuvwxyz"
                                   "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789_-") != std::string::npos)
            throw Failure{"a name is letters, digits, '_' and '-': \"" + name + "\""};
        for (const auto& c : chips_)
            if (c.spec.name == name) throw Failure{"\"" + name + "\" is named twice"};
        ChipDraft c;
        c.spec.name = name;
        c.spec.board = board;
        c.line = line_;
        c.programmed = board;
        if (board) {
            c.spec.description = std::string(kBoardDescription);
            c.manufacturer = "ZOQ";
        } else {
            c.manufacturer = "KELD";
        }
        chips_.push_back(std::move(c));
    }

    void kind(ChipDraft& c, const Args& a) {
        const Token& t = exact(a, 2)[1];
        const auto v = parse_number(t.text);
        const KindInfo* k =
            v ? (*v >= 0 && *v < 256 ? find_kind(static_cast<uint8_t>(*v)) : nullptr)
              : find_kind(t.text);
        if (!k) {
            std::string known;
            for (const auto& each : kKinds)
                known += std::string(known.empty() ? "" : ", ") + std::string(each.name) + " or " +
                         std::to_string(each.code);
            throw Failure{"unknown kind \"" + t.text + "\" (" + known + ")"};
        }
        c.spec.kind = k->code;
    }

    void ids(uint16_t& field, bool& set, const Args& a) {
        field = static_cast<uint16_t>(number(exact(a, 2)[1], 0, 0xFFFF, a[0].text));
        set = true;
    }

    void eeprom(ChipDraft& c, const Args& a) {
        const Token& t = exact(a, 2)[1];
        if (t.text == "none") {
            c.spec.ee_words = 0;
        } else {
            const auto n = number(t, 64, 256, "eeprom size");
            if (n != 64 && n != 128 && n != 256) throw Failure{"eeprom size is 64, 128 or 256"};
            c.spec.ee_words = static_cast<int>(n);
        }
        c.ee_set = true;
    }

    void image(ChipDraft& c, const Args& a) {
        need(a, 2);
        if (a[1].text == "blank" && a.size() == 2) {
            c.programmed = false;
            return;
        }
        if (a[1].text != "programmed") throw Failure{"image is \"blank\" or \"programmed\""};
        c.programmed = true;
        if (a.size() == 2) return;
        if (a.size() != 4 || a[2].text != "manufacturer")
            throw Failure{"image programmed takes only: manufacturer TEXT"};
        c.manufacturer = text_arg(a[3]);
    }

    void words(ChipDraft& c, const Args& a) {
        need(a, 2);
        const std::string& at = a[1].text;
        if (at.size() < 2 || at.back() != ':')
            throw Failure{"words begin with the word number and ':', as in \"words 0: FFFF\""};
        const auto start = parse_number(std::string_view(at).substr(0, at.size() - 1));
        if (!start || *start < 0 || *start > 255)
            throw Failure{"word number from 0 to 255 expected"};
        int index = static_cast<int>(*start);
        for (size_t i = 2; i < a.size(); ++i) {
            const auto w = parse_hex_word(a[i].text);
            if (!w) throw Failure{"\"" + a[i].text + "\" is not a hexadecimal word"};
            c.words.emplace_back(line_, index++, *w);
        }
    }

    void model(ChipDraft& c, const Args& a) {
        const std::string& m = exact(a, 2)[1].text;
        if (c.spec.kind != kKindGen4) throw Failure{"model belongs to a fourth-generation chip"};
        if (m != "uart" && m != "fifo") throw Failure{"model is \"uart\" or \"fifo\""};
        c.fifo_model = m == "fifo";
    }

    BusDeviceSpec* find_device(ChipDraft& c, int addr) {
        for (auto& d : c.spec.bus)
            if (d.addr == addr) return &d;
        return nullptr;
    }

    void device(ChipDraft& c, const Args& a) {
        need(a, 3);
        const int addr = static_cast<int>(number(a[1], 0, 0xFE, "address")) & 0xFE;
        if (find_device(c, addr)) throw Failure{"a device at this address already exists"};
        const auto preset = find_preset(a[2].text);
        if (!preset)
            throw Failure{"device kind is battery, charger, selector, pmbus or plain, not \"" +
                          a[2].text + "\""};
        BusDeviceSpec d;
        d.addr = static_cast<uint8_t>(addr);
        d.preset = *preset;
        d.pages = default_pages(*preset);
        if (a.size() == 5 && a[3].text == "pages")
            d.pages = static_cast<int>(number(a[4], 0, 32, "pages"));
        else if (a.size() != 3)
            throw Failure{"device takes ADDRESS KIND [pages N]"};
        apply_preset(d);
        c.spec.bus.push_back(std::move(d));
    }

    void reg(ChipDraft& c, const Args& a) {
        need(a, 5);
        const int addr = static_cast<int>(number(a[1], 0, 0xFF, "address")) & 0xFE;
        BusDeviceSpec* d = find_device(c, addr);
        if (!d) throw Failure{"no device at address " + a[1].text + " (declare it first)"};
        int code = static_cast<int>(number(a[2], 0, 0xFFFF, "command"));
        if (code > 0xFF) code |= kExtendedCode;
        size_t i = 3;
        int page = kNotPaged;
        if (a[i].text == "page") {
            if (d->pages == 0) throw Failure{"the device at " + a[1].text + " has no pages"};
            page = static_cast<int>(number(a[i + 1], 0, d->pages - 1, "page"));
            i += 2;
        }
        if (i + 1 >= a.size()) throw Failure{"reg needs a width (byte, word, block) and a value"};
        const std::string& width = a[i].text;
        std::vector<uint8_t> bytes;
        if (width == "byte" || width == "word") {
            if (i + 2 != a.size()) throw Failure{"one value after \"" + width + "\""};
            const bool word = width == "word";
            const int64_t v = number(a[i + 1], word ? -32768 : -128, word ? 0xFFFF : 0xFF, width);
            bytes.push_back(static_cast<uint8_t>(v & 0xFF));
            if (word) bytes.push_back(static_cast<uint8_t>((v >> 8) & 0xFF));
        } else if (width == "block") {
            if (a[i + 1].quoted && i + 2 == a.size()) {
                bytes.assign(a[i + 1].text.begin(), a[i + 1].text.end());
            } else {
                for (size_t k = i + 1; k < a.size(); ++k)
                    bytes.push_back(static_cast<uint8_t>(number(a[k], 0, 0xFF, "block byte")));
            }
            if (bytes.size() > 255) throw Failure{"a block holds at most 255 bytes"};
        } else {
            throw Failure{"width is byte, word or block, not \"" + width + "\""};
        }
        if (page == kNotPaged && d->pages > 0 && !d->regs.count({kNotPaged, code})) {
            for (int p = 0; p < d->pages; ++p) d->regs[{p, code}] = bytes;
        } else {
            d->regs[{page, code}] = bytes;
        }
    }

    void traffic(ChipDraft& c, const Args& a) {
        need(a, 2);
        TrafficSpec& t = c.spec.traffic;
        const std::string& mode = a[1].text;
        size_t i = 2;
        if (mode == "none") {
            t.mode = TrafficMode::None;
        } else if (mode == "poll") {
            t.mode = TrafficMode::Poll;
            if (a.size() == 4 && a[2].text == "period") {
                t.period_ms = static_cast<uint32_t>(number(a[3], 10, 60000, "period"));
                i = 4;
            }
        } else if (mode == "replay") {
            if (a.size() < 4 || (a[2].text != "file" && a[2].text != "events"))
                throw Failure{"traffic replay file PATH | events TEXT [rate N]"};
            const std::string raw = a[2].text == "file" ? read_file(path(a[3].text)) : a[3].text;
            t.mode = TrafficMode::Replay;
            t.events.clear();
            for (char ch : raw)
                if (ch != ' ' && ch != '\t' && ch != '\r' && ch != '\n') t.events.push_back(ch);
            if (t.events.empty()) throw Failure{"the replayed events are empty"};
            i = 4;
            if (a.size() == 6 && a[4].text == "rate") {
                t.rate = static_cast<uint32_t>(number(a[5], 1, kMaxRate, "rate"));
                i = 6;
            }
        } else {
            throw Failure{"traffic is poll, replay or none"};
        }
        if (i != a.size()) throw Failure{"unexpected \"" + a[i].text + "\" after traffic"};
    }

    void fault(const Args& a) {
        need(a, 3);
        if (!find_fault(a[2].text)) throw Failure{"unknown fault \"" + a[2].text + "\""};
        FaultDraft f{line_, a[1].text, a[2].text, -1, 0};
        for (size_t i = 3; i < a.size(); i += 2) {
            if (i + 1 >= a.size()) throw Failure{"\"" + a[i].text + "\" needs a value"};
            if (a[i].text == "count")
                f.count = static_cast<int>(number(a[i + 1], -1, 1000000, "count"));
            else if (a[i].text == "value")
                f.value = static_cast<uint32_t>(number(a[i + 1], 0, 0xFFFFFFFF, "value"));
            else
                throw Failure{"fault takes count N and value N, not \"" + a[i].text + "\""};
        }
        faults_.push_back(std::move(f));
    }

    int resolve(const std::string& target) const {
        const int count = world_.device_count();
        if (const auto n = parse_number(target)) {
            if (*n < 0 || *n >= count) throw Failure{"no device " + target};
            return static_cast<int>(*n);
        }
        const size_t colon = target.find(':');
        const std::string name = target.substr(0, colon);
        for (const auto& c : world_.chips) {
            if (c.name != name) continue;
            int channel = 0;
            if (colon != std::string::npos) {
                const std::string ch = target.substr(colon + 1);
                channel = ch.size() == 1 ? ch[0] - 'A' : -1;
                if (channel < 0 || channel >= find_kind(c.kind)->channels)
                    throw Failure{"\"" + name + "\" has no channel \"" + ch + "\""};
            }
            return c.first_device + channel;
        }
        throw Failure{"no chip or board named \"" + name + "\""};
    }

    std::string path(const std::string& p) const {
        if (p.empty() || p[0] == '/' || base_dir_.empty()) return p;
        return base_dir_ + "/" + p;
    }

    void finish_chip(ChipDraft& c) {
        ChipSpec& s = c.spec;
        // Programs find a board by its description and open it by its serial number: one
        // without a serial number would be listed and could never be opened.
        if (s.board && s.serial.empty())
            throw Failure{"board \"" + s.name +
                          "\" needs a serial line: a board is opened by its "
                          "serial number"};
        const KindInfo* k = find_kind(s.kind);
        if (!c.vid_set) s.vid = kFactoryVendor;
        if (!c.pid_set) s.pid = k->pid;
        if (s.kind == kKindGen4) {
            if (!c.ee_set) s.ee_words = kGen4Words;
            if (s.ee_words < kGen4Words)
                throw Failure{"a fourth-generation chip has 128 or 256 words of memory"};
        }
        if (!c.desc_set && !s.board) s.description = std::string(k->model);
        if (c.programmed && s.ee_words > 0) {
            s.image = build_image(s.kind, s.ee_words, s.vid, s.pid, c.manufacturer, s.description,
                                  s.serial);
            if (s.image.empty())
                throw Failure{"\"" + s.name + "\": the strings do not fit in its EEPROM"};
            // What the chip shows once its EEPROM is erased.
            s.description = std::string(k->model);
            s.serial.clear();
        } else {
            s.image.assign(static_cast<size_t>(s.ee_words), kBlankWord);
        }
        if (s.kind == kKindGen4) put_gen4_upper_type(s.image, c.fifo_model);
        for (const auto& [line, index, value] : c.words) {
            if (index >= s.ee_words) {
                line_ = line;
                throw Failure{"word " + std::to_string(index) + " is beyond the EEPROM of " +
                              std::to_string(s.ee_words) + " words"};
            }
            s.image[static_cast<size_t>(index)] = value;
        }
    }

    std::string base_dir_;
    World& world_;
    std::vector<ChipDraft> chips_;
    std::vector<FaultDraft> faults_;
    int line_ = 0;
};

}  // namespace

std::optional<std::string> read_whole_file(const std::string& path) {
    return platform::files::read_whole_file(path, kMaxWorldFileBytes);
}

std::string why_unreadable(const std::string& path) {
    return platform::files::read_failure(path, kMaxWorldFileBytes);
}

std::string current_folder() {
    char buf[4096];
    return ::getcwd(buf, sizeof buf) ? buf : "";
}

std::string folder_of(const std::string& path) {
    const size_t slash = path.rfind('/');
    std::string folder = slash == std::string::npos ? "" : path.substr(0, slash ? slash : 1);
    if (!path.empty() && path[0] == '/') return folder;
    // A current folder that is gone leaves the name relative, as it was given.
    const std::string cwd = current_folder();
    if (cwd.empty()) return folder.empty() ? "." : folder;
    return folder.empty() ? cwd : cwd + "/" + folder;
}

int World::device_count() const {
    int n = 0;
    for (const auto& c : chips) n += find_kind(c.kind)->channels;
    return n;
}

bool parse_world(std::string_view text, const std::string& base_dir, World& out,
                 std::string& error) {
    World world;
    Parser parser(base_dir, world);
    Args args;
    int no = 0;
    try {
        size_t pos = 0;
        while (pos <= text.size()) {
            const size_t end = std::min(text.find('\n', pos), text.size());
            ++no;
            std::string split_error;
            if (!split_line(text.substr(pos, end - pos), args, split_error))
                throw Failure{split_error};
            if (!args.empty()) parser.line(no, args);
            pos = end + 1;
        }
        no = 0;
        parser.finish();
    } catch (const Failure& f) {
        error = "line " + std::to_string(no ? no : parser.line_no()) + ": " + f.what;
        return false;
    }
    out = std::move(world);
    return true;
}

}  // namespace rawlnk
