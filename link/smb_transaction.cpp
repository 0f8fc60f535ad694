// One transaction on the command link.
//   in:  the request block (Protocol, DevAddr, DevCmd, Data0..2, BlockCount, BlockBuffer,
//        RawLength) and, for block writes, the text of `txt_Block_Data`;
//   out: Reply1/Reply2, or BlockCount/BlockCountHex/BlockReadText for block reads, and the
//        flags CommsError, CommsTimeout, TimeoutFlag, ReadErrFlag.
#include <algorithm>
#include <array>
#include <cstring>
#include <vector>

#include "driver_binding.h"
#include "mod_Miscellaneous_Subroutines.h"

namespace velmora {
namespace {

enum class Field : uint8_t { Addr, Cmd, Ext, Lo, Hi, Count };
enum class Kind : uint8_t { Plain, BlockWrite, BlockWriteRead, BlockRead };

struct Frame {
    char letter;
    Kind kind;
    int16_t expected;  // reply bytes; a block read learns the rest from its count byte
    uint8_t fields;
    std::array<Field, 5> field;
};

using F = Field;
// Bytes after the letter; plain frames end in CR, the block-write heads do not.
constexpr std::array<Frame, 14> kFrames = {{
    {'0', Kind::Plain, 1, 1, {F::Addr}},
    {'2', Kind::Plain, 1, 1, {F::Addr}},
    {'1', Kind::Plain, 1, 2, {F::Addr, F::Cmd}},
    {'D', Kind::Plain, 1, 2, {F::Addr, F::Cmd}},
    {'4', Kind::Plain, 2, 2, {F::Addr, F::Cmd}},
    {'C', Kind::Plain, 1, 3, {F::Addr, F::Cmd, F::Lo}},
    {'O', Kind::Plain, 1, 3, {F::Addr, F::Cmd, F::Ext}},
    {'Q', Kind::Plain, 2, 3, {F::Addr, F::Cmd, F::Ext}},
    {'3', Kind::Plain, 1, 4, {F::Addr, F::Cmd, F::Lo, F::Hi}},
    {'P', Kind::Plain, 1, 4, {F::Addr, F::Cmd, F::Ext, F::Lo}},
    {'R', Kind::Plain, 1, 5, {F::Addr, F::Cmd, F::Ext, F::Lo, F::Hi}},
    {'G', Kind::BlockRead, 1, 2, {F::Addr, F::Cmd}},
    {'F', Kind::BlockWrite, 1, 3, {F::Addr, F::Cmd, F::Count}},
    {'T', Kind::BlockWriteRead, 1, 3, {F::Addr, F::Cmd, F::Count}},
}};

constexpr uint8_t kCR = 13;
// Besides 0, the driver reports 4 on reads that did return their byte.
constexpr RL_STATUS kReadStatusAlsoGood = 4;

const Frame* find_frame(const std::string& protocol) {
    if (protocol.size() != 1) return nullptr;
    auto it = std::find_if(kFrames.begin(), kFrames.end(),
                           [&](const Frame& f) { return f.letter == protocol[0]; });
    return it == kFrames.end() ? nullptr : &*it;
}

uint8_t field_value(const SharedState& s, Field f) {
    switch (f) {
        case F::Addr:
            return static_cast<uint8_t>(s.DevAddr);
        case F::Cmd:
            return static_cast<uint8_t>(s.DevCmd);
        case F::Ext:
            return static_cast<uint8_t>(s.Data0);
        case F::Lo:
            return static_cast<uint8_t>(s.Data1);
        case F::Hi:
            return static_cast<uint8_t>(s.Data2);
        case F::Count:
            return s.BlockCount;
    }
    return 0;
}

void build_frame(SharedState& s, const Frame& f) {
    s.TxBuffer[0] = static_cast<uint8_t>(f.letter);
    for (int i = 0; i < f.fields; ++i) s.TxBuffer[1 + i] = field_value(s, f.field[i]);
    s.TxLength = static_cast<int16_t>(1 + f.fields);
    if (f.kind == Kind::Plain || f.kind == Kind::BlockRead) s.TxBuffer[s.TxLength++] = kCR;
    s.RxExpected = f.expected;
}

// The data bytes of a block write from `txt_Block_Data`: the pair of byte k (1-based)
// starts at character (k - 1) * 4, two digits and CR LF a line. False when the last pair
// is incomplete or a pair is not hex: then nothing may go out, since a byte the user did
// not type must never reach the bus.
bool block_data(uint8_t count, std::vector<uint8_t>& bytes) {
    if (count == 0) return true;
    const std::string text = console_controls().txt_Block_Data();
    if (text.size() <= static_cast<size_t>(count - 1) * 4 + 1) return false;
    for (size_t k = 0; k < count; ++k) {
        bytes.push_back(static_cast<uint8_t>(Hex_To_Byte(std::string_view(text).substr(k * 4, 2))));
        if (shared().HexValid == False) return false;
    }
    return true;
}

void write_bytes(const void* bytes, int count) {
    SharedState& s = shared();
    uint32_t written = 0;
    RL_STATUS st = driver::RL_Write(s.USB_Handle, bytes, static_cast<uint32_t>(count), &written);
    s.BytesWritten = static_cast<int32_t>(written);
    if (st != RL_OK) s.CommsError = True;
}

void take_reply_byte(SharedState& s, bool block, uint8_t b) {
    if (block) {
        if (s.RxCount == 1) {
            s.BlockReadText.clear();
            s.BlockCount = b;
            s.BlockCountHex = Byte_To_Hex(b);
            s.RxExpected = static_cast<int16_t>(b + 1);
        } else {
            s.BlockReadText += Byte_To_Hex(b) + "\r\n";
        }
    } else if (s.RxCount == 1) {
        s.Reply1 = b;
    } else if (s.RxCount == 2) {
        s.Reply2 = b;
    }
}

// Reads one byte at a time until RxExpected bytes came, a read timed out or failed.
void read_reply(SharedState& s) {
    const bool block = s.Protocol == "G" || s.Protocol == "U";
    s.TimeoutFlag = s.ReadErrFlag = False;
    s.RxCount = 0;
    do {
        s.BytesReturned = 0;
        uint32_t got = 0;
        RL_STATUS st = driver::RL_Read(s.USB_Handle, s.RxBuffer.data(), 1, &got);
        s.USB_Status = static_cast<int32_t>(st);
        s.BytesReturned = static_cast<int32_t>(got);
        if (st != RL_OK && st != kReadStatusAlsoGood) {
            s.ReadErrFlag = s.CommsError = True;
            break;
        }
        if (got == 0) {
            s.TimeoutFlag = s.CommsError = s.CommsTimeout = True;
            break;
        }
        ++s.RxCount;
        take_reply_byte(s, block, s.RxBuffer[0]);
        s.CommsTimeout = s.CommsError = False;
    } while (s.RxCount < s.RxExpected);
    if (s.TimeoutFlag != False || s.ReadErrFlag != False) s.CommsError = True;
}

// Choice: the device reset goes first, on the handle that is still open (a reset needs
// one); the re-open after it then applies every link setting afresh, whatever the reset
// cleared. The link is re-opened even when the reset fails.
void recover(SharedState& s) {
    if (s.USB_Handle == nullptr || driver::RL_ResetDevice(s.USB_Handle) != RL_OK)
        s.CommsError = True;
    Close_USB();
    Open_USB_Cmd();
    if (s.USB_Handle == nullptr ||
        driver::RL_Purge(s.USB_Handle, RL_PURGE_RX | RL_PURGE_TX) != RL_OK)
        s.CommsError = True;
    Delay_50ms();
}

}  // namespace

void SMB_Transaction() {
    SharedState& s = shared();
    const Frame* frame = find_frame(s.Protocol);
    s.TxLength = 0;
    s.RxExpected = 0;
    if (s.Protocol == "S") {
        // The grouped request goes out as built. One that would not fit the buffer, or that
        // claims more bytes than its text holds, is refused unsent and reported as failed.
        if (s.RawLength < 0 || s.RawLength > kTxBufferSize ||
            static_cast<size_t>(s.RawLength) > s.BlockBuffer.size()) {
            s.Reply1 = s.Reply2 = 0;
            s.CommsError = True;
            return;
        }
        std::memcpy(s.TxBuffer.data(), s.BlockBuffer.data(), static_cast<size_t>(s.RawLength));
        s.TxLength = s.RawLength;
        s.RxExpected = 1;
    } else if (frame) {
        build_frame(s, *frame);
    }

    const bool block_write =
        frame && (frame->kind == Kind::BlockWrite || frame->kind == Kind::BlockWriteRead);
    std::vector<uint8_t> data;
    if (block_write && !block_data(s.BlockCount, data)) {
        s.RxExpected = 0;
        s.HexValid = False;
        Check_Entries();
        s.TxLength = 0;
        return;
    }

    s.BytesWritten = 0;
    if (s.TxLength > 0) write_bytes(s.TxBuffer.data(), s.TxLength);
    if (block_write) {
        for (uint8_t b : data) write_bytes(&b, 1);
        if (frame->kind == Kind::BlockWrite) {
            write_bytes(&kCR, 1);
        } else {
            // The read-back half: the console shows it as a block read.
            s.Protocol = "U";
            s.RowProtocol[0] = "U";
            s.TxBuffer[0] = 'U';
            s.TxBuffer[1] = static_cast<uint8_t>(s.DevAddr);
            s.TxBuffer[2] = kCR;
            s.TxLength = 3;
            write_bytes(s.TxBuffer.data(), s.TxLength);
            s.RxExpected = 1;
        }
    }

    s.Reply1 = s.Reply2 = 0;
    if (s.RxExpected > 0) read_reply(s);
    if (s.CommsError != False) recover(s);
}

}  // namespace velmora
