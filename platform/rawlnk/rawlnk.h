/* rawlnk: direct driver library for the USB bridge chips.
 *
 * Every call returns a 32-bit status, 0 meaning success. Texts written into caller
 * buffers end with a NUL and never take more than 64 bytes including it.
 *
 * Board reply rule (what the QX7310 controller answers on the command link):
 *   - reads return their data bytes: a byte read one byte, a word read two bytes
 *     (low byte first), a block read a count byte followed by that many data bytes;
 *   - writes, quick command, send byte and the grouped "S" request return one byte 0x00;
 *   - "V" CR and "W" CR return the firmware version byte (a board may be set not to answer);
 *   - a transaction to an address that no device acknowledges returns nothing, so the
 *     program's read times out;
 *   - the controller understands frames only while the link is set to 19,534 baud,
 *     8 data bits, 1 stop bit, no parity and RTS/CTS flow control.
 *
 * Calls:
 *   - RL_Read waits until `count` bytes have come or the read time-out has passed, and
 *     returns what came (a count of 0 returned: nothing came). Until RL_SetTimeouts the
 *     read time-out is 0: a read takes what has arrived and does not wait.
 *   - RL_Read and RL_Write with a count of 0 succeed at once and move nothing.
 *   - Bad calls: a handle this process did not get from an open, or closed since, gives
 *     RL_INVALID_HANDLE; a null pointer where a result or data goes, unknown flags, values
 *     out of range and EEPROM word offsets of 256 or more give RL_INVALID_PARAMETER (a
 *     baud rate RL_INVALID_BAUD_RATE); an index or serial number of no device
 *     RL_DEVICE_NOT_FOUND; a device already open, here or in another process,
 *     RL_DEVICE_NOT_OPENED. EEPROM offsets below 256 wrap around as the part does.
 */
#ifndef RAWLNK_H
#define RAWLNK_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

typedef uint32_t RL_STATUS; /* 0 = success; codes below */
typedef void* RL_HANDLE;

enum {
    RL_OK = 0,
    RL_INVALID_HANDLE = 1,
    RL_DEVICE_NOT_FOUND = 2,
    RL_DEVICE_NOT_OPENED = 3,
    RL_IO_ERROR = 4,
    RL_INSUFFICIENT_RESOURCES = 5,
    RL_INVALID_PARAMETER = 6,
    RL_INVALID_BAUD_RATE = 7,
    RL_DEVICE_NOT_OPENED_FOR_ERASE = 8,
    RL_DEVICE_NOT_OPENED_FOR_WRITE = 9,
    RL_FAILED_TO_WRITE_DEVICE = 10,
    RL_EEPROM_READ_FAILED = 11,
    RL_EEPROM_WRITE_FAILED = 12,
    RL_EEPROM_ERASE_FAILED = 13,
    RL_EEPROM_NOT_PRESENT = 14,
    RL_EEPROM_NOT_PROGRAMMED = 15,
    RL_INVALID_ARGS = 16,
    RL_OTHER_ERROR = 17
};

/* RL_ListDevices flags */
#define RL_LIST_NUMBER_ONLY 0x80000000u /* arg1 = address of a 32-bit count */
#define RL_LIST_BY_INDEX 0x40000000u    /* arg1 = index as an integer, arg2 = text buffer */
#define RL_LIST_SERIAL_NUMBER 1u        /* with RL_LIST_BY_INDEX */
#define RL_LIST_DESCRIPTION 2u          /* with RL_LIST_BY_INDEX */

/* RL_OpenEx flags */
#define RL_OPEN_BY_SERIAL_NUMBER 1u

/* RL_SetFlowControl */
#define RL_FLOW_NONE 0x0000u
#define RL_FLOW_RTS_CTS 0x0100u

/* RL_Purge masks */
#define RL_PURGE_RX 1u
#define RL_PURGE_TX 2u

/* RL_SetDataCharacteristics */
#define RL_BITS_8 8u
#define RL_STOP_BITS_1 0u
#define RL_PARITY_NONE 0u

/* Device type codes returned by RL_GetDeviceInfo */
#define RL_DEVICE_GEN2 0u
#define RL_DEVICE_GEN1 1u
#define RL_DEVICE_UNKNOWN 3u
#define RL_DEVICE_DUAL 4u
#define RL_DEVICE_GEN4 5u
#define RL_DEVICE_HS_DUAL 6u
#define RL_DEVICE_HS_QUAD 7u

RL_STATUS RL_ListDevices(void* arg1, void* arg2, uint32_t flags);
RL_STATUS RL_OpenEx(void* arg, uint32_t flags, RL_HANDLE* handle);
RL_STATUS RL_Open(int32_t index, RL_HANDLE* handle);
RL_STATUS RL_Close(RL_HANDLE h);
RL_STATUS RL_SetBaudRate(RL_HANDLE h, uint32_t baud);
RL_STATUS RL_SetDataCharacteristics(RL_HANDLE h, uint8_t word_length, uint8_t stop_bits,
                                    uint8_t parity);
RL_STATUS RL_SetFlowControl(RL_HANDLE h, uint16_t flow, uint8_t xon, uint8_t xoff);
RL_STATUS RL_SetTimeouts(RL_HANDLE h, uint32_t read_ms, uint32_t write_ms);
RL_STATUS RL_Purge(RL_HANDLE h, uint32_t mask);
RL_STATUS RL_ResetDevice(RL_HANDLE h);
RL_STATUS RL_Write(RL_HANDLE h, const void* bytes, uint32_t count, uint32_t* written);
RL_STATUS RL_Read(RL_HANDLE h, void* buffer, uint32_t count, uint32_t* returned);
RL_STATUS RL_GetQueueStatus(RL_HANDLE h, uint32_t* rx_bytes);
RL_STATUS RL_GetDeviceInfo(RL_HANDLE h, uint32_t* type, uint32_t* id, char* serial,
                           char* description, void* spare);
RL_STATUS RL_SetLatencyTimer(RL_HANDLE h, uint8_t value);
RL_STATUS RL_ReadEE(RL_HANDLE h, uint32_t word_offset, uint16_t* value);
RL_STATUS RL_WriteEE(RL_HANDLE h, uint32_t word_offset, uint16_t value);
RL_STATUS RL_EraseEE(RL_HANDLE h);
RL_STATUS RL_CyclePort(RL_HANDLE h);

#ifdef __cplusplus
}
#endif

#endif /* RAWLNK_H */
