#include "core/config/config_state.h"

#include <cstring>

namespace orvanta {

void copyConfigName(char (&dest)[kConfigNameSize], const char* name) {
    // A longer name is cut to its first 19 characters; nothing is written past the buffer.
    std::size_t length = std::strlen(name);
    if (length > kConfigNameSize - 1) length = kConfigNameSize - 1;
    std::memmove(dest, name, length);
    dest[length] = '\0';
}

} // namespace orvanta
