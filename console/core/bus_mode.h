#pragma once

#include "formats/bus_mode.h"
