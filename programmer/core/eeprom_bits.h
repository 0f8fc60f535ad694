// Flag bits of image words 0 (chip flags) and 5 (config flags) per chip kind: the one
// place both the builder and the parser take them from.
#pragma once

#include <cstdint>
#include <span>

#include "programmer_state.h"

namespace pelmo {

struct FlagBit {
    uint16_t mask;
    uint8_t ProgrammingRecord::*field;
};

namespace bits {
using R = ProgrammingRecord;

// Channel modes of the dual kind: packing lets the first set flag of a channel win,
// decoding sets each flag from its own bit.
inline constexpr FlagBit kDualModeBits[] = {
    {0x0001, &R::AIs245Fifo}, {0x0002, &R::AIsCpuFifo}, {0x0004, &R::AIsOptoIsolate},
    {0x0100, &R::BIs245Fifo}, {0x0200, &R::BIsCpuFifo}, {0x0400, &R::BIsOptoIsolate},
};
inline constexpr FlagBit kDualChipBits[] = {
    {0x0008, &R::AIsVcp},
    {0x0010, &R::AHighCurrent},
    {0x0800, &R::BIsVcp},
    {0x1000, &R::BHighCurrent},
};
inline constexpr FlagBit kT4ChipBits[] = {
    {0x0001, &R::T4IsFifoModel},
    {0x0002, &R::T4UseExtOsc},
    {0x0004, &R::T4HighCurrentIO},
    {0x0008, &R::T4LoadRawlinkDriver},
};
inline constexpr FlagBit kHsDualChipBits[] = {
    {0x0001, &R::IFAIsFifo7},    {0x0002, &R::IFAIsFifoTar7}, {0x0004, &R::IFAIsFastSer7},
    {0x0008, &R::AIsVCP7},       {0x0100, &R::IFBIsFifo7},    {0x0200, &R::IFBIsFifoTar7},
    {0x0400, &R::IFBIsFastSer7}, {0x0800, &R::BIsVCP7},       {0x8000, &R::SuspendOnD7Low},
};
inline constexpr FlagBit kHsQuadChipBits[] = {
    {0x0008, &R::AIsVCP8},
    {0x0800, &R::BIsVCP8},
    {0x0080, &R::CIsVCP8},
    {0x8000, &R::DIsVCP8},
};

// Config bits written per kind.
inline constexpr FlagBit kT2ConfigBits[] = {
    {0x0001, &R::IsoIn},        {0x0002, &R::IsoOut},           {0x0004, &R::PullDownEnable},
    {0x0008, &R::SerNumEnable}, {0x0010, &R::UsbVersionEnable},
};
inline constexpr FlagBit kDualConfigBits[] = {
    {0x0001, &R::IsoInA},       {0x0002, &R::IsoOutA},          {0x0004, &R::PullDownEnable},
    {0x0008, &R::SerNumEnable}, {0x0010, &R::UsbVersionEnable}, {0x0020, &R::IsoInB},
    {0x0040, &R::IsoOutB},
};
inline constexpr FlagBit kT4ConfigBits[] = {
    {0x0004, &R::PullDownEnable}, {0x0008, &R::SerNumEnable}, {0x0100, &R::InvertTXD},
    {0x0200, &R::InvertRXD},      {0x0400, &R::InvertRTS},    {0x0800, &R::InvertCTS},
    {0x1000, &R::InvertDTR},      {0x2000, &R::InvertDSR},    {0x4000, &R::InvertDCD},
    {0x8000, &R::InvertRI},
};
inline constexpr FlagBit kHsDualConfigBits[] = {
    {0x0004, &R::PullDownEnable},
    {0x0008, &R::SerNumEnable},
};
inline constexpr FlagBit kHsQuadConfigBits[] = {
    {0x0004, &R::PullDownEnable}, {0x0008, &R::SerNumEnable}, {0x1000, &R::ARIisTXDEN},
    {0x2000, &R::BRIisTXDEN},     {0x4000, &R::CRIisTXDEN},   {0x8000, &R::DRIisTXDEN},
};

// Config bits read back: the isochronous flags are not decoded.
inline constexpr FlagBit kUsbConfigReadBits[] = {
    {0x0004, &R::PullDownEnable},
    {0x0008, &R::SerNumEnable},
    {0x0010, &R::UsbVersionEnable},
};

}  // namespace bits

inline uint16_t PackBits(const ProgrammingRecord& r, std::span<const FlagBit> bits) {
    uint16_t word = 0;
    for (const auto& b : bits) {
        if (r.*b.field) word |= b.mask;
    }
    return word;
}

inline void UnpackBits(ProgrammingRecord& r, uint16_t word, std::span<const FlagBit> bits) {
    for (const auto& b : bits) r.*b.field = (word & b.mask) ? 1 : 0;
}

}  // namespace pelmo
