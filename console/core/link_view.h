// TEMPORARY: declarations of the link layer's procedures until link/ lands.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "link/shared_state.h"

namespace velmora {
std::string Find_Board();
void Close_USB();
void Delay_250ms();
void Read_Version_V();
void Read_Version_W();
void Initialize_Variables();
void SMB_Transaction();
int16_t Hex_To_Byte(std::string_view text);
std::string Byte_To_Hex(uint8_t value);
int16_t Check_Entries();
void Clear_Nonstop();
}  // namespace velmora
