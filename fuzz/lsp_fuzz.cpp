// Fuzzes the language server on its raw input bytes: framing, JSON, the lifecycle and
// every handler, with every document's card folder being the scratch folder. The bytes
// arrive in reads of varying size, as a pipe delivers them. Every answer is serialized,
// as the server writes it.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>

#include "cli/lsp/server.h"
#include "fuzz/scratch_folder.h"
#include "platform/disk_folder.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    using orvanta::fuzz::writeScratchFile;
    writeScratchFile("p.bmp", orvanta::fuzz::gradientBmp(16, 16));
    writeScratchFile("next.txt", "Radar;64;64;100\nimage;p.bmp\nLoadConfig;config.txt;0\n");
    writeScratchFile("config.txt", "LED;9;9;9;0\nSetColor;63488\nLoadConfig;next.txt;5\n");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    using namespace orvanta::cli::lsp;
    std::size_t written = 0;
    Server server([&written](const Json& message) { written += serialize(message).size(); },
                  [](const std::string&) {
                      return std::make_unique<orvanta::DiskFolder>(orvanta::fuzz::scratchFolder());
                  },
                  false);
    // The first byte chooses the size of the reads.
    const std::size_t chunk = size > 0 ? 1 + data[0] % 64 : 1;
    std::size_t at = size > 0 ? 1 : 0;
    MessageReader reader([&](char* buffer, std::size_t n) {
        const std::size_t take = std::min({n, chunk, size - at});
        std::memcpy(buffer, data + at, take);
        at += take;
        return take;
    });
    for (Frame frame = reader.next(); frame.kind != Frame::Kind::End; frame = reader.next()) {
        server.receive(frame);
        if (server.exited()) break;
    }
    return 0;
}
