// PMBus command names and status bit texts of the monitor's PMBus decoder: the names once,
// and for each transaction shape the codes it names. Names are kept without their
// brackets; the decoder adds them.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace velmora::monitor::pmbus {

struct Named {
    uint8_t code;
    std::string_view name;
};

// Every name the decoder shows, by code: also the names of address and command only
// (8 events), which name them all.
inline constexpr std::array<Named, 119> kCommandNames{{
    {0x00, "PgNum"},
    {0x01, "Operation"},
    {0x02, "On_Off_Config"},
    {0x03, "CLEAR_FAULTS"},
    {0x04, "Phase"},
    {0x10, "Write_Protect"},
    {0x11, "STORE_DEFAULT_ALL"},
    {0x12, "RESTORE_DEFAULT_ALL"},
    {0x13, "Store_Default_Code"},
    {0x14, "Restore_Default_Code"},
    {0x15, "STORE_USER_ALL"},
    {0x16, "RESTORE_USER_ALL"},
    {0x17, "Store_User_Code"},
    {0x18, "Restore_User_Code"},
    {0x19, "Capability"},
    {0x20, "Vout_Mode"},
    {0x21, "Vout_Command"},
    {0x22, "Vout_Trim"},
    {0x23, "Vout_Cal_Offset"},
    {0x24, "Vout_Max"},
    {0x25, "Vout_Margin_High"},
    {0x26, "Vout_Margin_Low"},
    {0x27, "Vout_Transition_Rate"},
    {0x28, "Vout_Droop"},
    {0x29, "Vout_Scale_Loop"},
    {0x2A, "Vout_Scale_Monitor"},
    {0x31, "Pout_Max"},
    {0x32, "Max_Duty"},
    {0x33, "Frequency_Switch"},
    {0x35, "Vin_On"},
    {0x36, "Vin_Off"},
    {0x37, "Interleave"},
    {0x38, "Iout_Cal_Gain"},
    {0x39, "Iout_Cal_Offset"},
    {0x3A, "Fan_Config_1_2"},
    {0x3B, "Fan_Command_1"},
    {0x3C, "Fan_Command_2"},
    {0x3D, "Fan_Config_3_4"},
    {0x3E, "Fan_Command_3"},
    {0x3F, "Fan_Command_4"},
    {0x40, "Vout_OV_Fault_Limit"},
    {0x41, "Vout_OV_Fault_Response"},
    {0x42, "Vout_OV_Warn_Limit"},
    {0x43, "Vout_UV_Warn_Limit"},
    {0x44, "Vout_UV_Fault_Limit"},
    {0x45, "Vout_UV_Fault_Response"},
    {0x46, "Iout_OC_Fault_Limit"},
    {0x47, "Iout_OC_Fault_Response"},
    {0x48, "Iout_OC_LV_Fault_Limit"},
    {0x49, "Iout_OC_LV_Fault_Response"},
    {0x4A, "Iout_OC_Warn_Limit"},
    {0x4B, "Iout_UC_Fault_Limit"},
    {0x4C, "Iout_UC_Fault_Response"},
    {0x4F, "OT_Fault_Limit"},
    {0x50, "OT_Fault_Response"},
    {0x51, "OT_Warn_Limit"},
    {0x52, "UT_Warn_Limit"},
    {0x53, "UT_Fault_Limit"},
    {0x54, "UT_Fault_Response"},
    {0x55, "Vin_OV_Fault_Limit"},
    {0x56, "Vin_OV_Fault_Response"},
    {0x57, "Vin_OV_Warn_Limit"},
    {0x58, "Vin_UV_Warn_Limit"},
    {0x59, "Vin_UV_Fault_Limit"},
    {0x5A, "Vin_UV_Fault_Response"},
    {0x5B, "Iin_OC_Fault_Limit"},
    {0x5C, "Iin_OC_Fault_Response"},
    {0x5D, "Iin_OC_Warn_Limit"},
    {0x5E, "Power_Good_On"},
    {0x5F, "Power_Good_Off"},
    {0x60, "TOn_Delay"},
    {0x61, "TOn_Rise"},
    {0x62, "TOn_Max_Fault_Limit"},
    {0x63, "TOn_Max_Fault_Response"},
    {0x64, "TOff_Delay"},
    {0x65, "TOff_Fall"},
    {0x66, "TOff_Max_Warn_Limit"},
    {0x68, "POut_OP_Fault_Limit"},
    {0x69, "POut_OP_Fault_Response"},
    {0x6A, "POut_OP_Warn_Limit"},
    {0x6B, "PIn_OP_Warn_Limit"},
    {0x78, "Status_Byte"},
    {0x79, "Status_Word"},
    {0x7A, "Status_Vout"},
    {0x7B, "Status_Iout"},
    {0x7C, "Status_Input"},
    {0x7D, "Status_Temperature"},
    {0x7E, "Status_CML"},
    {0x7F, "Status_Other"},
    {0x80, "Status_Mfr_Specific"},
    {0x81, "Status_Fans_1_2"},
    {0x82, "Status_Fans_3_4"},
    {0x88, "Read_Vin"},
    {0x89, "Read_Iin"},
    {0x8A, "Read_Vcap"},
    {0x8B, "Read_Vout"},
    {0x8C, "Read_Iout"},
    {0x8D, "Read_Temperature_1"},
    {0x8E, "Read_Temperature_2"},
    {0x8F, "Read_Temperature_3"},
    {0x90, "Read_Fan_Speed_1"},
    {0x91, "Read_Fan_Speed_2"},
    {0x92, "Read_Fan_Speed_3"},
    {0x93, "Read_Fan_Speed_4"},
    {0x94, "Read_Duty_Cycle"},
    {0x95, "Read_Frequency"},
    {0x96, "Read_POut"},
    {0x97, "Read_PIn"},
    {0x98, "PMBus_Revision"},
    {0xA0, "Mfr_Vin_Min"},
    {0xA1, "Mfr_Vin_Max"},
    {0xA2, "Mfr_Iin_Max"},
    {0xA3, "Mfr_Pin_Max"},
    {0xA4, "Mfr_Vout_Min"},
    {0xA5, "Mfr_Vout_Max"},
    {0xA6, "Mfr_Iout_Max"},
    {0xA7, "Mfr_Pout_Max"},
    {0xA8, "Mfr_Tambient_Max"},
    {0xA9, "Mfr_Tambient_Min"},
}};

// Codes named in a write byte (11 events). 00 also names the page in the data byte.
inline constexpr std::array<uint8_t, 35> kWriteByteCodes{
    0x00, 0x01, 0x02, 0x04, 0x10, 0x13, 0x14, 0x17, 0x18, 0x20, 0x3A, 0x3D,
    0x41, 0x45, 0x47, 0x49, 0x4C, 0x50, 0x54, 0x56, 0x5A, 0x5C, 0x63, 0x69,
    0x78, 0x7A, 0x7B, 0x7C, 0x7D, 0x7E, 0x7F, 0x80, 0x81, 0x82, 0x98};

// Codes named in a write word (14 events) and a read word (18 events).
inline constexpr std::array<uint8_t, 68> kWordCodes{
    0x21, 0x22, 0x23, 0x24, 0x25, 0x26, 0x27, 0x28, 0x29, 0x2A, 0x31, 0x32, 0x33, 0x35,
    0x36, 0x37, 0x38, 0x39, 0x3B, 0x3C, 0x3E, 0x3F, 0x40, 0x42, 0x43, 0x44, 0x46, 0x48,
    0x4A, 0x4B, 0x4F, 0x51, 0x52, 0x53, 0x55, 0x57, 0x58, 0x59, 0x5B, 0x5D, 0x5E, 0x5F,
    0x60, 0x61, 0x62, 0x64, 0x65, 0x66, 0x68, 0x6A, 0x6B, 0x79, 0x88, 0x89, 0x8A, 0x8B,
    0x8C, 0x8D, 0x8E, 0x8F, 0x90, 0x91, 0x92, 0x93, 0x94, 0x95, 0x96, 0x97};

// Codes named in a read word (18 events) only, besides kWordCodes.
inline constexpr std::array<uint8_t, 10> kReadWordOnlyCodes{0xA0, 0xA1, 0xA2, 0xA3, 0xA4,
                                                            0xA5, 0xA6, 0xA7, 0xA8, 0xA9};

// Codes named in a read byte (15 events).
inline constexpr std::array<uint8_t, 31> kReadByteCodes{
    0x00, 0x01, 0x02, 0x04, 0x10, 0x19, 0x20, 0x3A, 0x3D, 0x41, 0x45, 0x47, 0x49, 0x4C, 0x50, 0x54,
    0x56, 0x5A, 0x5C, 0x63, 0x69, 0x78, 0x7A, 0x7B, 0x7C, 0x7D, 0x7E, 0x7F, 0x80, 0x81, 0x82};

// Names of a read byte that differ from the common names; register 80 is spelt short.
inline constexpr std::array<Named, 2> kReadByteOwnNames{{
    {0x00, "Read_Byte"},
    {0x80, "Status_Mfr_Spcf"},
}};

struct StatusBits {
    uint8_t code;
    std::array<std::string_view, 8> bit;  // bit 7 first
};

// Texts of the set bits of a status register read as a byte (15 events).
inline constexpr std::array<StatusBits, 10> kStatusByteBits{{
    {0x78,
     {"(Busy_err)", "(Off_err)", "(Vout_OV_err)", "(Iout_OC_err)", "(Vin_UV_err)",
      "(Temperature_err)", "(CML_err)", "(None_of_the_above_err)"}},
    {0x7A,
     {"(VOUT_Overvoltage Fault)", "(VOUT_Overvoltage_Warning)", "(VOUT_Undervoltage_Warning)",
      "(VOUT_Undervoltage_Fault)", "(VOUT_MAX_Warning)", "(TON_MAX_Fault)", "(TOFF_MAX_Warning)",
      "(VOUT_Tracking_Error)"}},
    {0x7B,
     {"(IOUT_Overcurrent_Fault)", "(IOUT_Overcurrent_and_Low_Voltage_Shutdown_Fault)",
      "(IOUT_Overcurrent_Warning)", "(IOUT_Undercurrent_Fault)", "(Current_Share_Fault)",
      "(Power_Limiting)", "(POUT_Overpower_Fault)", "(POUT_Overpower_Warning)"}},
    {0x7C,
     {"(VIN_Overvoltage Fault)", "(VIN_Overvoltage_Warning)", "(VIN_Undervoltage_Warning)",
      "(VIN_Undervoltage_Fault)", "(Unit_of_Insufficient_Input_Voltage)", "(IIN_Overcurrent_Fault)",
      "(IIN_Overcurrent_Warning)", "(PIN_Overpower_Warning)"}},
    {0x7D,
     {"(Overtemperature_Fault)", "(Overtemperature_Warning)", "(Undertemperature_Warning)",
      "(Undertemperature_Fault)", "(Reserved)", "(Reserved)", "(Reserved)", "(Reserved)"}},
    {0x7E,
     {"(Invalid_Or_Unsupported_Command_Received)", "(Invalid_Or_Unsupported_Data_Received)",
      "(Packet_Error_Check_Failed)", "(Memory_Fault_Detected)", "(Processor_Fault_Detected)",
      "(Reserved)", "(A_Communication_Fault)", "(Other_Memory_Or_Logic_Fault)"}},
    {0x7F,
     {"(Reserved)", "(Reserved)", "(Input_A_Fuse_Fault)", "(Input_B_Fuse_Fault)",
      "(Input_A_ORing_Device_Fault)", "(Input_B_ORing_Device_Fault)", "(Output_ORing_Device_Fault)",
      "(Reserved)"}},
    {0x80,
     {"(Mfr_Defined)", "(Mfr_Defined)", "(Mfr_Defined)", "(Mfr_Defined)", "(Mfr_Defined)",
      "(Mfr_Defined)", "(Mfr_Defined)", "(Mfr_Defined)"}},
    {0x81,
     {"(Fan1_Fault)", "(Fan2_Fault)", "(Fan1_Warning)", "(Fan2_Warning)", "(Fan1_Speed_Overridden)",
      "(Fan2_Speed_Overridden)", "(Airflow_Fault)", "(Airflow_Warning)"}},
    {0x82,
     {"(Fan3_Fault)", "(Fan4_Fault)", "(Fan3_Warning)", "(Fan4_Warning)", "(Fan3_Speed_Overridden)",
      "(Fan4_Speed_Overridden)", "(Reserved)", "(Reserved)"}},
}};

// Texts of the set bits of STATUS_WORD (code 79, 18 events): low byte bit 7 to bit 0, then
// high byte bit 15 to bit 8, the order in which they are shown.
inline constexpr std::array<std::string_view, 16> kStatusWordBits{
    "(Busy_err)",       "(Off_err)",         "(Vout_OV_err)", "(Iout_OC_err)",
    "(Vin_UV_err)",     "(Temperature_err)", "(CML_err)",     "(None_of_the_above_err)",
    "(Vout_err)",       "(Iout/Pout_err)",   "(Input_err)",   "(Mfr_err)",
    "(Power_Good_err)", "(Fans_err)",        "(Other_err)",   "(Undefined_err)",
};

}  // namespace velmora::monitor::pmbus
