// Pages of the help file that are made from the program's own tables, so that the help
// always names the commands exactly as the console does.
#pragma once

#include <string>

namespace velmora {

std::string ascii_table_page();  // topic 109
std::string sbs_table_page();    // topic 108
std::string pmbus_table_page();  // topic 107

}  // namespace velmora
