#include "config/config_state.h"

#include <cstring>

namespace orvanta {

char nextConfigName[kConfigNameSize] = "config.txt";
char thisConfigName[kConfigNameSize] = "";
int32_t next_config_load = 0;
uint32_t millis_this_config = 0;
bool showFps = false;

void copyConfigName(char (&dest)[kConfigNameSize], const char* name) {
    // A longer name is cut to its first 19 characters; nothing is written past the buffer.
    std::size_t length = std::strlen(name);
    if (length > kConfigNameSize - 1) length = kConfigNameSize - 1;
    std::memmove(dest, name, length);
    dest[length] = '\0';
}

void resetConfigState() {
    copyConfigName(nextConfigName, "config.txt");
    thisConfigName[0] = '\0';
    next_config_load = 0;
    millis_this_config = 0;
    showFps = false;
}

} // namespace orvanta
