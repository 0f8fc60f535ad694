#include "help_pages.h"

#include <cstdio>
#include <span>

#include "command_tables.h"
#include "transaction_types.h"

namespace velmora {
namespace {

std::string escape(std::string_view text) {
    std::string out;
    for (char c : text) {
        switch (c) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '"':
                out += "&quot;";
                break;
            default:
                out += c;
        }
    }
    return out;
}

std::string hex2(int v) {
    char buf[8];
    std::snprintf(buf, sizeof buf, "%02X", v & 0xFF);
    return buf;
}

std::string page(std::string_view title, const std::string& body) {
    return "<html><head><meta charset=\"utf-8\"><title>" + escape(title) +
           "</title></head><body>\n<h1>" + escape(title) + "</h1>\n" + body +
           "<p><a href=\"113.html\">Help topics</a></p>\n</body></html>\n";
}

// The transaction types a panel accepts for a command of each class.
std::string class_types(int8_t cmd_class) {
    if (cmd_class < 0 || cmd_class >= kClassNoTest) return "any (not checked)";
    const std::vector<std::string_view> types = accepted_types(cmd_class);
    if (types.empty()) return "block transfer: use the Block Command frame";
    std::string out;
    for (std::string_view t : types) {
        if (!out.empty()) out += ", ";
        out += t;
    }
    return out;
}

std::string command_table(std::string_view heading, std::span<const CommandRow> rows) {
    std::string out = "<h2>" + escape(heading) +
                      "</h2>\n<table border=\"1\" cellpadding=\"3\">\n"
                      "<tr><th>Code</th><th>Name</th><th>Transaction types</th></tr>\n";
    for (const auto& r : rows)
        out += "<tr><td>" + hex2(r.code) + "</td><td>" + escape(r.name) + "</td><td>" +
               escape(class_types(r.cmd_class)) + "</td></tr>\n";
    return out + "</table>\n";
}

}  // namespace

std::string ascii_table_page() {
    static constexpr const char* kControlNames[32] = {
        "NUL", "SOH", "STX", "ETX", "EOT", "ENQ", "ACK", "BEL", "BS",  "HT",  "LF",
        "VT",  "FF",  "CR",  "SO",  "SI",  "DLE", "DC1", "DC2", "DC3", "DC4", "NAK",
        "SYN", "ETB", "CAN", "EM",  "SUB", "ESC", "FS",  "GS",  "RS",  "US"};
    std::string body =
        "<p>Characters 0 to 127 with their codes. Bytes are entered and shown in hexadecimal "
        "in the console.</p>\n<table border=\"1\" cellpadding=\"3\">\n"
        "<tr><th>Hex</th><th>Dec</th><th>Char</th><th>Hex</th><th>Dec</th><th>Char</th>"
        "<th>Hex</th><th>Dec</th><th>Char</th><th>Hex</th><th>Dec</th><th>Char</th></tr>\n";
    for (int row = 0; row < 32; ++row) {
        body += "<tr>";
        for (int col = 0; col < 4; ++col) {
            const int c = col * 32 + row;
            std::string ch = c < 32     ? kControlNames[c]
                             : c == 32  ? "SP"
                             : c == 127 ? "DEL"
                                        : std::string(1, static_cast<char>(c));
            body += "<td>" + hex2(c) + "</td><td>" + std::to_string(c) + "</td><td>" + escape(ch) +
                    "</td>";
        }
        body += "</tr>\n";
    }
    return page("ASCII Table", body + "</table>\n");
}

std::string sbs_table_page() {
    const CommandTables& t = command_tables(TableSet::Main);
    std::string body =
        "<p>In Smart Battery mode the console names the command typed in a panel by the "
        "device address: 16 a smart battery, 12 a charger, 14 a selector. The command panels "
        "name the charger's commands at 12 and at 14.</p>\n";
    body += command_table("Smart Battery (address 16)", t.battery);
    body += command_table("Smart Battery Charger (address 12)", t.charger);
    body += command_table("Smart Battery Selector (address 14)", t.selector);
    body += "<p>See also the <a href=\"114.html\">Safety Signal Range</a>.</p>\n";
    return page("SBS Table", body);
}

std::string pmbus_table_page() {
    std::string body =
        "<p>In PMBus mode the main panel names every PMBus command code, whatever the device "
        "address. The command panels name the commands of the PMBus device at address B8 "
        "(second table). Codes that are not listed show \"Undefined\".</p>\n";
    body += command_table("PMBus commands (main panel)", command_tables(TableSet::Main).pmbus);
    body += command_table("PMBus device at address B8 (command panels)",
                          command_tables(TableSet::Panels).pmbus);
    return page("PMBus Table", body);
}

}  // namespace velmora
