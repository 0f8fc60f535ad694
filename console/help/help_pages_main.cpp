// Writes the help pages made from the command tables into the folder given.
#include <cstdio>
#include <fstream>
#include <string>

#include "help_pages.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <help folder>\n", argv[0]);
        return 2;
    }
    const std::string dir = argv[1];
    const std::pair<const char*, std::string> pages[] = {
        {"107.html", velmora::pmbus_table_page()},
        {"108.html", velmora::sbs_table_page()},
        {"109.html", velmora::ascii_table_page()},
    };
    for (const auto& [name, text] : pages) {
        std::ofstream out(dir + "/" + name, std::ios::binary);
        out << text;
        if (!out) {
            std::fprintf(stderr, "cannot write %s/%s\n", dir.c_str(), name);
            return 1;
        }
    }
    return 0;
}
