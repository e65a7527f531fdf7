#pragma once
// The chain of configuration files from config.txt, followed by the checker exactly as the
// device follows it, for a host's file list.
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace orvanta {

class Folder;

struct ChainWalk {
    std::vector<std::string> chain;     // the files in the order the device shows them
    std::optional<std::string> missing; // a successor the folder lacks, if the chain ends so
    bool more = false;                  // the chain goes on beyond the files listed
};

// Follows the chain from "config.txt" for at most `maxShown` files. A file that chains back
// to one already shown ends the walk, as the device then goes round the same files again.
// The folder is listed once for the whole walk.
ChainWalk walkChain(Folder& folder, std::size_t maxShown);

} // namespace orvanta
