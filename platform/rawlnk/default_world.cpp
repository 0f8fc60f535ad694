#include "world.h"

namespace rawlnk {

// The world every program runs in unless RAWLNK_SIM names another.
std::string_view default_world_text() {
    return R"(# Built-in world: one QX7310 board and three bridge chips.
board qx7310
  serial ZQ000001
  description "ZOQ ONBOARD RS232 CNTLR"
  kind gen2
  eeprom 64
  image programmed manufacturer ZOQ
  firmware 3
  device 0x16 battery
  device 0x12 charger
  device 0x14 selector
  device 0xB8 pmbus pages 8
  traffic poll period 100

chip blank2
  kind gen2
  eeprom 64
  image blank

chip dual1
  kind dual
  serial KD3A0001
  description "Tessel-3D Adapter"
  eeprom 128
  image programmed manufacturer KELD

chip gen4
  kind gen4
  model uart
  image blank
)";
}

}  // namespace rawlnk
