/* Lists the devices of the built-in world, opens the board by its serial number and reads
 * the battery voltage: "4", 0x16, 0x09, CR must give 0x34, 0x30 (12,340 mV). */
#include <stdio.h>
#include <string.h>

#include "rawlnk.h"

static const char kBoard[] = "ZOQ ONBOARD RS232 CNTLR";

int main(void) {
    uint32_t count = 0;
    char board_serial[64] = "";
    if (RL_ListDevices(&count, NULL, RL_LIST_NUMBER_ONLY) != RL_OK || count == 0) {
        fprintf(stderr, "no devices\n");
        return 1;
    }
    for (uint32_t i = 0; i < count; ++i) {
        char description[64] = "", serial[64] = "";
        RL_ListDevices((void*)(uintptr_t)i, description, RL_LIST_BY_INDEX | RL_LIST_DESCRIPTION);
        RL_ListDevices((void*)(uintptr_t)i, serial, RL_LIST_BY_INDEX | RL_LIST_SERIAL_NUMBER);
        printf("%u: \"%s\" serial \"%s\"\n", i, description, serial);
        if (board_serial[0] == '\0' && strcmp(description, kBoard) == 0)
            strcpy(board_serial, serial);
    }
    if (board_serial[0] == '\0') {
        fprintf(stderr, "no board\n");
        return 1;
    }
    RL_HANDLE h = NULL;
    if (RL_OpenEx(board_serial, RL_OPEN_BY_SERIAL_NUMBER, &h) != RL_OK) {
        fprintf(stderr, "cannot open %s\n", board_serial);
        return 1;
    }
    RL_STATUS s = RL_SetBaudRate(h, 19534);
    s |= RL_SetDataCharacteristics(h, RL_BITS_8, RL_STOP_BITS_1, RL_PARITY_NONE);
    s |= RL_SetFlowControl(h, RL_FLOW_RTS_CTS, 0, 0);
    s |= RL_SetTimeouts(h, 500, 500);
    s |= RL_Purge(h, RL_PURGE_RX | RL_PURGE_TX);
    const uint8_t frame[] = {'4', 0x16, 0x09, 13};
    uint32_t written = 0, got = 0;
    uint8_t reply[2] = {0, 0};
    s |= RL_Write(h, frame, sizeof frame, &written);
    for (int i = 0; i < 2; ++i) {
        uint32_t n = 0;
        s |= RL_Read(h, &reply[i], 1, &n);
        got += n;
    }
    RL_Close(h);
    printf("board %s: reply %u bytes %02X %02X\n", board_serial, got, reply[0], reply[1]);
    if (s != RL_OK || written != sizeof frame || got != 2 || reply[0] != 0x34 || reply[1] != 0x30) {
        fprintf(stderr, "unexpected reply\n");
        return 1;
    }
    return 0;
}
