#pragma once
// Loading a configuration file and the timed chain from one file to the next.
namespace orvanta {

// True when more whole seconds than next_config_load have passed since millis_this_config.
bool isConfigDue();
// Replaces all objects by those of the named file. A file that cannot be opened sets
// next_config_load to 20 and changes nothing else.
void LoadConfigFromSD(const char* name);

} // namespace orvanta
