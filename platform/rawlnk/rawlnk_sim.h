/* Control of the simulated world behind librawlnk, for tests and tools.
 * The programs never call these; they see only rawlnk.h.
 *
 * The world format is described in platform/rawlnk/WORLD.md.
 * Devices are numbered as RL_ListDevices lists them (index 0..n-1).
 */
#ifndef RAWLNK_SIM_H
#define RAWLNK_SIM_H

#include <stddef.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

/* Replace the world. Return 0 on success; on failure the world is unchanged and
 * RLSIM_LastError() tells why (with a line number for texts).
 * Loading closes every handle. Unless RLSIM_SetStateDir named a folder, each load starts
 * with a fresh private state folder, so the chips hold the world's images.
 * Without any of these calls the library loads the world of RAWLNK_SIM (or the built-in
 * one) with the state folder of RAWLNK_STATE_DIR (or the XDG default) on first use. */
int RLSIM_LoadWorldText(const char* text);
int RLSIM_LoadWorldFile(const char* path);
void RLSIM_LoadDefaultWorld(void);
const char* RLSIM_LastError(void);

/* Load the current world again keeping the state folder, as a program starting anew does:
 * chips take their identity from the stored EEPROM images, boards start afresh. */
void RLSIM_ReloadWorld(void);

/* State folder for EEPROM images and "opened by another process" locks.
 * NULL gives a private folder that nothing else shares (the tests' default).
 * The current world is loaded again on the new folder (handles are closed). */
void RLSIM_SetStateDir(const char* dir);

/* Virtual clock: reads that wait, time-outs and the monitor stream advance a counter
 * instead of sleeping. Off = real time. */
void RLSIM_UseVirtualClock(int on);
uint64_t RLSIM_NowMicros(void);
void RLSIM_AdvanceMicros(uint64_t us);

/* Faults, by device index; count = how many calls it applies to (-1 = until cleared).
 * Names: "no_reply", "short_reply", "read_status_4", "read_status" (value = status),
 * "write_fail", "open_fail", "removed", "ee_read_fail", "ee_write_fail", "ee_erase_fail",
 * "latency_fail", "cycle_fail", "info_fail" (RL_GetDeviceInfo fails and fills nothing),
 * "list_fail" (the number-only RL_ListDevices fails and leaves the count as it was; the
 * count belongs to no device, so the fault acts whichever device holds it, and the
 * by-index list calls are not affected). Returns 0, or -1 for an unknown name or index. */
int RLSIM_InjectFault(int device_index, const char* name, int count, uint32_t value);
void RLSIM_ClearFaults(void);

/* Every RL_Write the device received since the last take, one line per call:
 * the bytes as two upper-case hex digits separated by blanks, each line ending in '\n'.
 * Returns the full length (may exceed cap; the text is cut and NUL-terminated).
 * With out NULL or cap 0 it only tells the length and takes nothing. */
size_t RLSIM_TakeWriteLog(int device_index, char* out, size_t cap);

/* Bus device registers of the board at device_index (page -1 = not paged, or for a paged
 * device the page it is on). cmd 0..255 is a command code; above 255 it is an extended
 * command, command << 8 | extended byte. The value is the register's bytes, low first
 * (a block gives its first four). Set keeps a register's width (byte or word) and makes a
 * missing one a word; blocks cannot be set.
 * Return 0, or -1 when there is no such device or register. */
int RLSIM_GetRegister(int device_index, int bus_addr, int cmd, int page, uint32_t* value);
int RLSIM_SetRegister(int device_index, int bus_addr, int cmd, int page, uint32_t value);

/* EEPROM word of a bridge chip, bypassing faults (for checks after an operation). */
int RLSIM_PeekEE(int device_index, uint32_t word, uint16_t* value);

/* Whether device_index is currently held open by some process (this one included). */
int RLSIM_IsOpen(int device_index);

#ifdef __cplusplus
}
#endif

#endif /* RAWLNK_SIM_H */
