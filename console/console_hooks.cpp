#include "console_hooks.h"

namespace velmora {

ConsoleHooks& console_hooks() {
    static ConsoleHooks hooks;
    return hooks;
}

}  // namespace velmora
