// The controls of a command panel (0 the main panel, 1..8 Control1..Control8) that the
// send path and the workspace reach, under their control names.
#pragma once

#include <cstdint>

namespace velmora {

enum class PanelField : uint8_t {
    SendBytePgNumber,  // check box
    PageNumber,
    CmdProtocol,
    txt_Device_Addr,
    txt_Device_Cmd,
    txt_Device_Cmdlsb,
    txt_RW_LSByte,
    txt_RW_MSByte,
    Nonstop,  // check box
    Linear16bit,
    TranslationMode,
    Xtext,
    Xlabel,  // label
    Pmbus,   // label
    PMBuscmd,
};

}  // namespace velmora
