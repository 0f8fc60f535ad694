// TEMPORARY: declarations of the link layer's procedures until link/ lands.
#pragma once

#include <cstdint>
#include <string>

#include "link/shared_state.h"

namespace velmora {
void Initialize_Variables();
std::string Find_Board();
void Close_USB();
void Delay_250ms();
void Read_Version_V();
void Read_Version_W();
void SMB_Transaction();
int16_t Hex_To_Byte(const std::string& text);
std::string Byte_To_Hex(int value);
int16_t Check_Entries();
void Clear_Nonstop();
}  // namespace velmora
