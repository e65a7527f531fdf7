#pragma once
// What a file saved in the card's folder means to the screen on show.
#include <string>

namespace orvanta {

struct ConfigState;
class Folder;

enum class SavedFile {
    Unrelated,         // nothing on show depends on it
    ConfigFile,        // a configuration file of the folder: show it at once
    PictureOfThisFile, // a picture that the file on show draws: load that file again
};

// A configuration file is one the device can name (at most 19 characters) that ends in
// ".txt", is on the chain from "config.txt", or is the file on show or the next one.
SavedFile classifySavedFile(Folder& folder, const ConfigState& config, const std::string& name);

} // namespace orvanta
