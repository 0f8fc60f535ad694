// A second process on the same state folder, for the tests: one command from the
// arguments, its result on standard output.
//   open INDEX | hold INDEX (until a line on stdin) | write-ee INDEX WORD VALUE
//   read-ee INDEX WORD | describe INDEX | write-read-ee INDEX WORD VALUE
//   fill INDEX FIRST COUNT (after a line on stdin, word w = 0xA000 + w; prints the failures)
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "rawlnk.h"

int main(int argc, char** argv) {
    if (argc < 3) return 2;
    const std::string cmd = argv[1];
    const int index = std::atoi(argv[2]);
    if (cmd == "describe") {
        char buf[64] = "";
        RL_ListDevices(reinterpret_cast<void*>(static_cast<uintptr_t>(index)), buf,
                       RL_LIST_BY_INDEX | RL_LIST_DESCRIPTION);
        std::printf("%s\n", buf);
        return 0;
    }
    RL_HANDLE h = nullptr;
    const RL_STATUS s = RL_Open(index, &h);
    if (cmd == "open") {
        std::printf("%u\n", s);
    } else if (cmd == "hold") {
        std::printf("held %u\n", s);
        std::fflush(stdout);
        char line[16];
        if (!std::fgets(line, sizeof line, stdin)) line[0] = '\0';
    } else if (cmd == "write-ee" && argc == 5) {
        std::printf("%u\n", RL_WriteEE(h, std::strtoul(argv[3], nullptr, 0),
                                       static_cast<uint16_t>(std::strtoul(argv[4], nullptr, 0))));
    } else if (cmd == "write-read-ee" && argc == 5) {
        const uint32_t word = std::strtoul(argv[3], nullptr, 0);
        const RL_STATUS w =
            RL_WriteEE(h, word, static_cast<uint16_t>(std::strtoul(argv[4], nullptr, 0)));
        uint16_t v = 0;
        const RL_STATUS r = RL_ReadEE(h, word, &v);
        std::printf("%u %u %04X\n", w, r, v);
    } else if (cmd == "fill" && argc == 5) {
        std::printf("ready\n");
        std::fflush(stdout);
        char line[16];
        if (!std::fgets(line, sizeof line, stdin)) line[0] = '\0';
        const uint32_t first = std::strtoul(argv[3], nullptr, 0);
        const uint32_t count = std::strtoul(argv[4], nullptr, 0);
        int failed = 0;
        for (uint32_t w = first; w < first + count; ++w)
            failed += RL_WriteEE(h, w, static_cast<uint16_t>(0xA000 + w)) != RL_OK;
        std::printf("%d\n", failed);
    } else if (cmd == "read-ee" && argc == 4) {
        uint16_t v = 0;
        const RL_STATUS r = RL_ReadEE(h, std::strtoul(argv[3], nullptr, 0), &v);
        std::printf("%u %04X\n", r, v);
    } else {
        return 2;
    }
    if (s == RL_OK) RL_Close(h);
    return 0;
}
