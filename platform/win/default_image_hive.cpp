// The registry of the built-in machine, in the hive file format (HIVE.md).
#include "default_image.h"

namespace platform::win {

std::string_view default_hive_text() {
    static constexpr std::string_view kHive = R"hive(WINSYS-HIVE 1

[HKEY_LOCAL_MACHINE]
owner=S-1-5-32-544
ace=allow,02,000f003f,S-1-5-32-544
ace=allow,02,000f003f,S-1-5-18
ace=allow,02,00020019,S-1-1-0

[HKEY_LOCAL_MACHINE\SOFTWARE]
owner=S-1-5-32-544
ace=allow,02,000f003f,S-1-5-32-544
ace=allow,02,000f003f,S-1-5-18
ace=allow,0a,10000000,S-1-3-0
ace=allow,02,00020019,S-1-5-32-545
ace=allow,02,0003001f,S-1-5-32-547

[HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft]
owner=S-1-5-32-544
ace=allow,02,000f003f,S-1-5-32-544
ace=allow,02,000f003f,S-1-5-18
ace=allow,0a,10000000,S-1-3-0
ace=allow,02,00020019,S-1-5-32-545
ace=allow,02,0003001f,S-1-5-32-547

[HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows]
owner=S-1-5-32-544
ace=allow,02,000f003f,S-1-5-32-544
ace=allow,02,000f003f,S-1-5-18
ace=allow,0a,10000000,S-1-3-0
ace=allow,02,00020019,S-1-5-32-545
ace=allow,02,0003001f,S-1-5-32-547

[HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\CurrentVersion]
owner=S-1-5-32-544
ace=allow,02,000f003f,S-1-5-32-544
ace=allow,02,000f003f,S-1-5-18
ace=allow,0a,10000000,S-1-3-0
ace=allow,02,00020019,S-1-5-32-545
ace=allow,02,0003001f,S-1-5-32-547
"ProgramFilesDir"=sz:"C:\\Program Files"
"CommonFilesDir"=sz:"C:\\Program Files\\Common Files"
"DevicePath"=expand:"%SystemRoot%\\inf"
"MediaPath"=expand:"%SystemRoot%\\Media"

[HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\CurrentVersion\App Management]
owner=S-1-5-32-544
ace=allow,02,000f003f,S-1-5-32-544
ace=allow,02,000f003f,S-1-5-18
ace=allow,02,00020019,S-1-5-32-545

[HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\CurrentVersion\App Management\ARPCache]
owner=S-1-5-32-544
ace=allow,02,000f003f,S-1-5-32-544
ace=allow,02,000f003f,S-1-5-18
ace=allow,02,00020019,S-1-5-32-545

[HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\CurrentVersion\App Management\ARPCache\PaintBox]
owner=S-1-5-32-544
ace=allow,02,000f003f,S-1-5-32-544
ace=allow,02,000f003f,S-1-5-18
ace=allow,02,00020019,S-1-5-32-545
"SlowInfoCache"=hex:28,02,00,00,01,00,00,00,00,50,12,00,00,00,00,00
"Changed"=dword:00000000

[HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\CurrentVersion\App Management\ARPCache\ZOQSPI]
owner=S-1-5-32-544
ace=allow,02,000f003f,S-1-5-32-544
ace=allow,02,000f003f,S-1-5-18
ace=allow,02,00020019,S-1-5-32-545
"SlowInfoCache"=hex:28,02,00,00,00,00,00,00,ff,ff,ff,ff,ff,ff,ff,ff
"Changed"=dword:00000000

[HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\CurrentVersion\App Management\ARPCache\ZOQSPI Utilities]
owner=S-1-5-32-544
ace=allow,02,000f003f,S-1-5-32-544
ace=allow,02,000f003f,S-1-5-18
ace=allow,02,00020019,S-1-5-32-545
"SlowInfoCache"=hex:28,02,00,00,01,00,00,00,00,a0,04,00,00,00,00,00
"Changed"=dword:00000001

[HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall]
owner=S-1-5-32-544
ace=allow,02,000f003f,S-1-5-32-544
ace=allow,02,000f003f,S-1-5-18
ace=allow,0a,10000000,S-1-3-0
ace=allow,02,00020019,S-1-5-32-545
ace=allow,02,0003001f,S-1-5-32-547

[HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall\PaintBox]
owner=S-1-5-32-544
ace=allow,02,000f003f,S-1-5-32-544
ace=allow,02,000f003f,S-1-5-18
ace=allow,02,00020019,S-1-5-32-545
"DisplayName"=sz:"PaintBox 3.1"
"UninstallString"=sz:"C:\\Program Files\\PaintBox\\unins000.exe"

[HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall\ZOQSPI]
owner=S-1-5-32-544
ace=allow,02,000f003f,S-1-5-32-544
ace=allow,02,000f003f,S-1-5-18
ace=allow,02,00020019,S-1-5-32-545
"DisplayName"=sz:"ZOQ USB Driver"
"DisplayVersion"=sz:"2.08.14"
"Publisher"=sz:"ZOQ"
"UninstallString"=sz:"C:\\Program Files\\ZOQ\\drendle.exe"

[HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall\ZOQSPI Utilities]
owner=S-1-5-32-544
ace=allow,02,000f003f,S-1-5-32-544
ace=allow,02,000f003f,S-1-5-18
ace=allow,02,00020019,S-1-5-32-545
"DisplayName"=sz:"ZOQ Bus Utilities"
"UninstallString"=sz:"C:\\Program Files\\ZOQ\\Utilities\\uninst.exe"

[HKEY_LOCAL_MACHINE\SYSTEM]
owner=S-1-5-32-544
ace=allow,02,000f003f,S-1-5-32-544
ace=allow,02,000f003f,S-1-5-18
ace=allow,0a,10000000,S-1-3-0
ace=allow,02,00020019,S-1-5-32-545

[HKEY_LOCAL_MACHINE\SYSTEM\CurrentControlSet]
owner=S-1-5-32-544
ace=allow,02,000f003f,S-1-5-32-544
ace=allow,02,000f003f,S-1-5-18
ace=allow,0a,10000000,S-1-3-0
ace=allow,02,00020019,S-1-5-32-545

[HKEY_LOCAL_MACHINE\SYSTEM\CurrentControlSet\Control]
owner=S-1-5-32-544
ace=allow,02,000f003f,S-1-5-32-544
ace=allow,02,000f003f,S-1-5-18
ace=allow,0a,10000000,S-1-3-0
ace=allow,02,00020019,S-1-5-32-545

[HKEY_LOCAL_MACHINE\SYSTEM\CurrentControlSet\Control\Class]
owner=S-1-5-32-544
ace=allow,02,000f003f,S-1-5-32-544
ace=allow,02,000f003f,S-1-5-18
ace=allow,02,00020019,S-1-5-32-545

[HKEY_LOCAL_MACHINE\SYSTEM\CurrentControlSet\Control\Class\{36FC9E60-C465-11CF-8056-444553540000}]
owner=S-1-5-32-544
ace=allow,02,000f003f,S-1-5-32-544
ace=allow,02,000f003f,S-1-5-18
ace=allow,02,00020019,S-1-5-32-545
""=sz:"Universal Serial Bus controllers"
"Class"=sz:"USB"
"Icon"=sz:"-20"

[HKEY_LOCAL_MACHINE\SYSTEM\CurrentControlSet\Control\Class\{36FC9E60-C465-11CF-8056-444553540000}\0000]
owner=S-1-5-32-544
ace=allow,02,000f003f,S-1-5-32-544
ace=allow,02,000f003f,S-1-5-18
ace=allow,02,00020019,S-1-5-32-545
"InfPath"=sz:"usb.inf"
"InfSection"=sz:"UHCI.Dev"
"ProviderName"=sz:"Microsoft"
"DriverDesc"=sz:"Standard Universal PCI to USB Host Controller"
"MatchingDeviceId"=sz:"pci\\cc_0c0300"

[HKEY_LOCAL_MACHINE\SYSTEM\CurrentControlSet\Control\Class\{36FC9E60-C465-11CF-8056-444553540000}\0001]
owner=S-1-5-32-544
ace=allow,02,000f003f,S-1-5-32-544
ace=allow,02,000f003f,S-1-5-18
ace=allow,02,00020019,S-1-5-32-545
"InfPath"=sz:"usb.inf"
"InfSection"=sz:"ROOTHUB.Dev"
"ProviderName"=sz:"Microsoft"
"DriverDesc"=sz:"USB Root Hub"
"MatchingDeviceId"=sz:"usb\\root_hub"

[HKEY_LOCAL_MACHINE\SYSTEM\CurrentControlSet\Control\Class\{36FC9E60-C465-11CF-8056-444553540000}\0002]
owner=S-1-5-32-544
ace=allow,02,000f003f,S-1-5-32-544
ace=allow,02,000f003f,S-1-5-18
ace=allow,02,00020019,S-1-5-32-545
"InfPath"=sz:"oem3.inf"
"InfSection"=sz:"ZOQSPI"
"ProviderName"=sz:"ZOQ"
"DriverDate"=sz:"3-14-2005"
"DriverVersion"=sz:"2.8.14.0"
"DriverDesc"=sz:"ZOQ USB Device"
"MatchingDeviceId"=sz:"usb\\vid_4b1d&pid_c738"

[HKEY_LOCAL_MACHINE\SYSTEM\CurrentControlSet\Control\Class\{36FC9E60-C465-11CF-8056-444553540000}\0003]
owner=S-1-5-32-544
ace=allow,02,000f003f,S-1-5-32-544
ace=allow,02,000f003f,S-1-5-18
ace=allow,02,00020019,S-1-5-32-545
"InfPath"=sz:"oem4.inf"
"InfSection"=sz:"ZOQLOG"
"ProviderName"=sz:"ZOQ"
"DriverDesc"=sz:"ZOQ USB Logger"
"MatchingDeviceId"=sz:"usb\\vid_4b1d&pid_c739"

[HKEY_LOCAL_MACHINE\SYSTEM\CurrentControlSet\Control\Class\{36FC9E60-C465-11CF-8056-444553540000}\0004]
owner=S-1-5-32-544
ace=allow,02,000f003f,S-1-5-32-544
ace=allow,02,000f003f,S-1-5-18
ace=allow,02,00020019,S-1-5-32-545
"InfPath"=sz:"usb.inf"
"InfSection"=sz:"Composite.Dev"
"ProviderName"=sz:"Microsoft"
"DriverDesc"=sz:"USB Composite Device"
"MatchingDeviceId"=sz:"usb\\composite"

[HKEY_LOCAL_MACHINE\SYSTEM\CurrentControlSet\Control\Class\{4D36E978-E325-11CE-BFC1-08002BE10318}]
owner=S-1-5-32-544
ace=allow,02,000f003f,S-1-5-32-544
ace=allow,02,000f003f,S-1-5-18
ace=allow,02,00020019,S-1-5-32-545
""=sz:"Ports (COM & LPT)"
"Class"=sz:"Ports"

[HKEY_LOCAL_MACHINE\SYSTEM\CurrentControlSet\Control\Class\{4D36E978-E325-11CE-BFC1-08002BE10318}\0000]
owner=S-1-5-32-544
ace=allow,02,000f003f,S-1-5-32-544
ace=allow,02,000f003f,S-1-5-18
ace=allow,02,00020019,S-1-5-32-545
"InfPath"=sz:"msports.inf"
"DriverDesc"=sz:"Communications Port"
"MatchingDeviceId"=sz:"*pnp0501"

[HKEY_LOCAL_MACHINE\SYSTEM\CurrentControlSet\Control\DeviceClasses]
owner=S-1-5-32-544
ace=allow,02,000f003f,S-1-5-32-544
ace=allow,02,000f003f,S-1-5-18
ace=allow,02,00020019,S-1-5-32-545

[HKEY_LOCAL_MACHINE\SYSTEM\CurrentControlSet\Control\DeviceClasses\{53f56307-b6bf-11d0-94f2-00a0c91efb8b}]
owner=S-1-5-32-544
ace=allow,02,000f003f,S-1-5-32-544
ace=allow,02,000f003f,S-1-5-18
ace=allow,02,00020019,S-1-5-32-545

[HKEY_LOCAL_MACHINE\SYSTEM\CurrentControlSet\Control\DeviceClasses\{53f56307-b6bf-11d0-94f2-00a0c91efb8b}\##?#IDE#DiskGENERIC_HD40#3030#{53f56307-b6bf-11d0-94f2-00a0c91efb8b}]
owner=S-1-5-32-544
ace=allow,02,000f003f,S-1-5-32-544
ace=allow,02,000f003f,S-1-5-18
ace=allow,02,00020019,S-1-5-32-545
"DeviceInstance"=sz:"IDE\\DiskGENERIC_HD40\\3030"

[HKEY_LOCAL_MACHINE\SYSTEM\CurrentControlSet\Control\DeviceClasses\{6e3a41d2-0c9b-4d57-8a1f-3b2c7d904e15}]
owner=S-1-5-32-544
ace=allow,02,000f003f,S-1-5-32-544
ace=allow,02,000f003f,S-1-5-18
ace=allow,02,00020019,S-1-5-32-545

[HKEY_LOCAL_MACHINE\SYSTEM\CurrentControlSet\Control\DeviceClasses\{6e3a41d2-0c9b-4d57-8a1f-3b2c7d904e15}\##?#USB#VID_4B1D&PID_C738#5&2a3c4d1&0&2#{6e3a41d2-0c9b-4d57-8a1f-3b2c7d904e15}]
owner=S-1-5-32-544
ace=allow,02,000f003f,S-1-5-32-544
ace=allow,02,000f003f,S-1-5-18
ace=allow,02,00020019,S-1-5-32-545
"DeviceInstance"=sz:"USB\\VID_4B1D&PID_C738\\5&2a3c4d1&0&2"

[HKEY_LOCAL_MACHINE\SYSTEM\CurrentControlSet\Control\DeviceClasses\{6e3a41d2-0c9b-4d57-8a1f-3b2c7d904e15}\##?#USB#VID_4B1D&PID_C738#5&2a3c4d1&0&2#{6e3a41d2-0c9b-4d57-8a1f-3b2c7d904e15}\#]
owner=S-1-5-32-544
ace=allow,02,000f003f,S-1-5-32-544
ace=allow,02,000f003f,S-1-5-18
ace=allow,02,00020019,S-1-5-32-545
"SymbolicLink"=sz:"\\\\?\\USB#VID_4B1D&PID_C738#5&2a3c4d1&0&2#{6e3a41d2-0c9b-4d57-8a1f-3b2c7d904e15}"

[HKEY_LOCAL_MACHINE\SYSTEM\CurrentControlSet\Control\DeviceClasses\{a5dcbf10-6530-11d2-901f-00c04fb951ed}]
owner=S-1-5-32-544
ace=allow,02,000f003f,S-1-5-32-544
ace=allow,02,000f003f,S-1-5-18
ace=allow,02,00020019,S-1-5-32-545

[HKEY_LOCAL_MACHINE\SYSTEM\CurrentControlSet\Control\DeviceClasses\{a5dcbf10-6530-11d2-901f-00c04fb951ed}\##?#USB#Vid_1a2b&Pid_0001#5&3b1c2d&0&1#{a5dcbf10-6530-11d2-901f-00c04fb951ed}]
owner=S-1-5-32-544
ace=allow,02,000f003f,S-1-5-32-544
ace=allow,02,000f003f,S-1-5-18
ace=allow,02,00020019,S-1-5-32-545
"DeviceInstance"=sz:"USB\\Vid_1a2b&Pid_0001\\5&3b1c2d&0&1"

[HKEY_LOCAL_MACHINE\SYSTEM\CurrentControlSet\Control\DeviceClasses\{a5dcbf10-6530-11d2-901f-00c04fb951ed}\##?#USB#Vid_1a2b&Pid_0001#5&3b1c2d&0&1#{a5dcbf10-6530-11d2-901f-00c04fb951ed}\#]
owner=S-1-5-32-544
ace=allow,02,000f003f,S-1-5-32-544
ace=allow,02,000f003f,S-1-5-18
ace=allow,02,00020019,S-1-5-32-545
"SymbolicLink"=sz:"\\\\?\\USB#Vid_1a2b&Pid_0001#5&3b1c2d&0&1#{a5dcbf10-6530-11d2-901f-00c04fb951ed}"

[HKEY_LOCAL_MACHINE\SYSTEM\CurrentControlSet\Control\DeviceClasses\{a5dcbf10-6530-11d2-901f-00c04fb951ed}\##?#USB#VID_4B1D&PID_C738#5&2a3c4d1&0&2#{a5dcbf10-6530-11d2-901f-00c04fb951ed}]
owner=S-1-5-32-544
ace=allow,02,000f003f,S-1-5-32-544
ace=allow,02,000f003f,S-1-5-18
ace=allow,02,00020019,S-1-5-32-545
"DeviceInstance"=sz:"USB\\VID_4B1D&PID_C738\\5&2a3c4d1&0&2"

[HKEY_LOCAL_MACHINE\SYSTEM\CurrentControlSet\Control\DeviceClasses\{a5dcbf10-6530-11d2-901f-00c04fb951ed}\##?#USB#VID_4B1D&PID_C738#5&2a3c4d1&0&2#{a5dcbf10-6530-11d2-901f-00c04fb951ed}\#]
owner=S-1-5-32-544
ace=allow,02,000f003f,S-1-5-32-544
ace=allow,02,000f003f,S-1-5-18
ace=allow,02,00020019,S-1-5-32-545
"SymbolicLink"=sz:"\\\\?\\USB#VID_4B1D&PID_C738#5&2a3c4d1&0&2#{a5dcbf10-6530-11d2-901f-00c04fb951ed}"

[HKEY_LOCAL_MACHINE\SYSTEM\CurrentControlSet\Control\DeviceClasses\{a5dcbf10-6530-11d2-901f-00c04fb951ed}\##?#USB#VID_4B1D&PID_C738#5&2a3c4d1&0&2#{a5dcbf10-6530-11d2-901f-00c04fb951ed}\Control]
owner=S-1-5-32-544
ace=allow,02,000f003f,S-1-5-32-544
ace=allow,02,000f003f,S-1-5-18
ace=allow,02,00020019,S-1-5-32-545
"Linked"=dword:00000000

[HKEY_LOCAL_MACHINE\SYSTEM\CurrentControlSet\Control\DeviceClasses\{a5dcbf10-6530-11d2-901f-00c04fb951ed}\##?#USB#VID_4B1D&PID_C739#6&1f00aa&0&1#{a5dcbf10-6530-11d2-901f-00c04fb951ed}]
owner=S-1-5-32-544
ace=allow,02,000f003f,S-1-5-32-544
ace=allow,02,000f003f,S-1-5-18
ace=allow,02,00020019,S-1-5-32-545
"DeviceInstance"=sz:"USB\\VID_4B1D&PID_C739\\6&1f00aa&0&1"

[HKEY_LOCAL_MACHINE\SYSTEM\CurrentControlSet\Enum]
owner=S-1-5-18
ace=allow,02,000f003f,S-1-5-18
ace=allow,02,00020019,S-1-1-0

[HKEY_LOCAL_MACHINE\SYSTEM\CurrentControlSet\Enum\USB]
owner=S-1-5-18
ace=allow,02,000f003f,S-1-5-18
ace=allow,02,00020019,S-1-1-0

[HKEY_LOCAL_MACHINE\SYSTEM\CurrentControlSet\Enum\USB\ROOT_HUB]
owner=S-1-5-18
ace=allow,02,000f003f,S-1-5-18
ace=allow,02,00020019,S-1-1-0

[HKEY_LOCAL_MACHINE\SYSTEM\CurrentControlSet\Enum\USB\ROOT_HUB\4&17a6f8d&0]
owner=S-1-5-18
ace=allow,02,000f003f,S-1-5-18
ace=allow,02,00020019,S-1-1-0
"DeviceDesc"=sz:"USB Root Hub"
"HardwareID"=multi:"USB\\ROOT_HUB&VID1234&PID5678&REV0001","USB\\ROOT_HUB&VID1234&PID5678","USB\\ROOT_HUB"
"Class"=sz:"USB"
"Driver"=sz:"{36FC9E60-C465-11CF-8056-444553540000}\\0001"
"Service"=sz:"usbhub"
"ConfigFlags"=dword:00000000

[HKEY_LOCAL_MACHINE\SYSTEM\CurrentControlSet\Enum\USB\Vid_1a2b&Pid_0001]
owner=S-1-5-18
ace=allow,02,000f003f,S-1-5-18
ace=allow,02,00020019,S-1-1-0

[HKEY_LOCAL_MACHINE\SYSTEM\CurrentControlSet\Enum\USB\Vid_1a2b&Pid_0001\5&3b1c2d&0&1]
owner=S-1-5-18
ace=allow,02,000f003f,S-1-5-18
ace=allow,02,00020019,S-1-1-0
"DeviceDesc"=sz:"USB Human Interface Device"
"HardwareID"=multi:"USB\\Vid_1a2b&Pid_0001&Rev_1100","USB\\Vid_1a2b&Pid_0001"
"Class"=sz:"HIDClass"
"Service"=sz:"HidUsb"
"ConfigFlags"=dword:00000000

[HKEY_LOCAL_MACHINE\SYSTEM\CurrentControlSet\Enum\USB\VID_4B1D&PID_C738]
owner=S-1-5-18
ace=allow,02,000f003f,S-1-5-18
ace=allow,02,00020019,S-1-1-0

[HKEY_LOCAL_MACHINE\SYSTEM\CurrentControlSet\Enum\USB\VID_4B1D&PID_C738\5&2a3c4d1&0&2]
owner=S-1-5-18
ace=allow,02,000f003f,S-1-5-18
ace=allow,02,00020019,S-1-1-0
"DeviceDesc"=sz:"ZOQ USB Device"
"HardwareID"=multi:"USB\\Vid_4b1d&Pid_c738&Rev_0100","USB\\Vid_4b1d&Pid_c738"
"CompatibleIDs"=multi:"USB\\Class_ff&SubClass_00&Prot_00","USB\\Class_ff&SubClass_00","USB\\Class_ff"
"Class"=sz:"USB"
"ClassGUID"=sz:"{36FC9E60-C465-11CF-8056-444553540000}"
"Driver"=sz:"{36FC9E60-C465-11CF-8056-444553540000}\\0002"
"Mfg"=sz:"ZOQ"
"Service"=sz:"ZOQSPI"
"ConfigFlags"=dword:00000000
"Capabilities"=dword:00000004

[HKEY_LOCAL_MACHINE\SYSTEM\CurrentControlSet\Enum\USB\VID_4B1D&PID_C738\5&2a3c4d1&0&2\Control]
owner=S-1-5-18
ace=allow,02,000f003f,S-1-5-18
ace=allow,02,00020019,S-1-1-0
"ActiveService"=sz:"ZOQSPI"

[HKEY_LOCAL_MACHINE\SYSTEM\CurrentControlSet\Enum\USB\VID_4B1D&PID_C738\5&2a3c4d1&0&2\Device Parameters]
owner=S-1-5-18
ace=allow,02,000f003f,S-1-5-18
ace=allow,02,00020019,S-1-1-0
"SymbolicName"=sz:"\\??\\USB#VID_4B1D&PID_C738#5&2a3c4d1&0&2#{a5dcbf10-6530-11d2-901f-00c04fb951ed}"

[HKEY_LOCAL_MACHINE\SYSTEM\CurrentControlSet\Enum\USB\VID_4B1D&PID_C738\5&2a3c4d1&0&2\LogConf]
owner=S-1-5-18
ace=allow,02,000f003f,S-1-5-18
ace=allow,02,00020019,S-1-1-0

[HKEY_LOCAL_MACHINE\SYSTEM\CurrentControlSet\Enum\USB\VID_4B1D&PID_C739]
owner=S-1-5-18
ace=allow,02,000f003f,S-1-5-18
ace=allow,02,00020019,S-1-1-0

[HKEY_LOCAL_MACHINE\SYSTEM\CurrentControlSet\Enum\USB\VID_4B1D&PID_C739\6&1f00aa&0&1]
owner=S-1-5-18
ace=allow,02,000f003f,S-1-5-18
ace=allow,02,00020019,S-1-1-0
"DeviceDesc"=sz:"ZOQ USB Logger"
"HardwareID"=multi:"USB\\Vid_4b1d&Pid_c739&Rev_0100","USB\\Vid_4b1d&Pid_c739"
"Class"=sz:"USB"
"Driver"=sz:"{36FC9E60-C465-11CF-8056-444553540000}\\0003"
"Service"=sz:"ZOQLOG"
"ConfigFlags"=dword:00000000

[HKEY_LOCAL_MACHINE\SYSTEM\CurrentControlSet\Services]
owner=S-1-5-32-544
ace=allow,02,000f003f,S-1-5-32-544
ace=allow,02,000f003f,S-1-5-18
ace=allow,02,00020019,S-1-5-32-545

[HKEY_LOCAL_MACHINE\SYSTEM\CurrentControlSet\Services\RAWLNK]
owner=S-1-5-32-544
ace=allow,02,000f003f,S-1-5-32-544
ace=allow,02,000f003f,S-1-5-18
ace=allow,02,00020019,S-1-5-32-545
"Type"=dword:00000001
"Start"=dword:00000003
"ErrorControl"=dword:00000001
"ImagePath"=expand:"System32\\DRIVERS\\rawlnk.sys"
"DisplayName"=sz:"rawlnk direct driver"

[HKEY_LOCAL_MACHINE\SYSTEM\CurrentControlSet\Services\Serial]
owner=S-1-5-32-544
ace=allow,02,000f003f,S-1-5-32-544
ace=allow,02,000f003f,S-1-5-18
ace=allow,02,00020019,S-1-5-32-545
"Type"=dword:00000001
"Start"=dword:00000001
"ImagePath"=expand:"System32\\DRIVERS\\serial.sys"

[HKEY_LOCAL_MACHINE\SYSTEM\CurrentControlSet\Services\usbhub]
owner=S-1-5-32-544
ace=allow,02,000f003f,S-1-5-32-544
ace=allow,02,000f003f,S-1-5-18
ace=allow,02,00020019,S-1-5-32-545
"Type"=dword:00000001
"Start"=dword:00000003
"ImagePath"=expand:"System32\\DRIVERS\\usbhub.sys"
"DisplayName"=sz:"USB Standard Hub Driver"

[HKEY_LOCAL_MACHINE\SYSTEM\CurrentControlSet\Services\ZOQSPI]
owner=S-1-5-32-544
ace=allow,02,000f003f,S-1-5-32-544
ace=allow,02,000f003f,S-1-5-18
ace=allow,02,00020019,S-1-5-32-545
"Type"=dword:00000001
"Start"=dword:00000003
"ErrorControl"=dword:00000001
"ImagePath"=expand:"System32\\DRIVERS\\rawlnk.sys"
"DisplayName"=sz:"ZOQ USB Driver"

[HKEY_LOCAL_MACHINE\SYSTEM\CurrentControlSet\Services\ZOQSPI\Enum]
owner=S-1-5-32-544
ace=allow,02,000f003f,S-1-5-32-544
ace=allow,02,000f003f,S-1-5-18
ace=allow,02,00020019,S-1-5-32-545
"0"=sz:"USB\\VID_4B1D&PID_C738\\5&2a3c4d1&0&2"
"Count"=dword:00000001
"NextInstance"=dword:00000001
)hive";
    return kHive;
}

}  // namespace platform::win
