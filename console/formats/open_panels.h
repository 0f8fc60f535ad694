// How many command panel windows (Control1..Control8) can be open beside the main panel.
#pragma once

namespace velmora::formats {

inline constexpr int kMaxOpenPanels = 8;

}  // namespace velmora::formats
