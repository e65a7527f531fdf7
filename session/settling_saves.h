#pragma once
// Saves are taken when their writes have settled: an editor may write a file in pieces, and
// some systems report every piece, so a file counts as saved only once no write to it has
// been seen for a quiet period. Each settled file is given once, however many writes it
// took.
#include <cstdint>
#include <string>
#include <vector>

namespace orvanta {

// Long enough to bridge the pauses of an editor that writes in pieces, short enough that a
// save still shows well within a second.
inline constexpr uint32_t kSaveQuietMs = 200;

class SettlingSaves {
  public:
    // A write to `name` was seen at `nowMs` (a clock that runs while the device is paused).
    void written(const std::string& name, uint32_t nowMs);
    // The files with no write for the quiet period by `nowMs`, in the order first written;
    // they are forgotten until written again.
    std::vector<std::string> takeSettled(uint32_t nowMs);
    bool pending() const { return !writes_.empty(); }

  private:
    struct Write {
        std::string name;
        uint32_t lastMs;
    };
    std::vector<Write> writes_;
};

} // namespace orvanta
