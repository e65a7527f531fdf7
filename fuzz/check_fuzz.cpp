// Fuzzes the configuration checker on a whole file: once as the folder's config.txt, with
// the chain of successors the file schedules, and once as a single named file. Every
// diagnostic and the summary are formatted, as the command prints them. The folder holds
// the same pictures and second configuration as the loader harness.
#include <cstddef>
#include <cstdint>
#include <string>

#include "check/checker.h"
#include "fuzz/scratch_folder.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    using orvanta::fuzz::writeScratchFile;
    writeScratchFile("p.bmp", orvanta::fuzz::gradientBmp(16, 16));
    writeScratchFile("t.bmp", orvanta::fuzz::gradientBmp(3, -5));
    writeScratchFile("next.txt", "Radar;64;64;100\nimage;p.bmp\nTacho;0;0;20;60;0\n"
                                 "LoadConfig;config.txt;0\n");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    using namespace orvanta;
    fuzz::writeScratchFile("config.txt", data, size);
    const std::string& folder = fuzz::scratchFolder();

    std::size_t printed = 0;
    const auto print = [&printed](check::CheckReport& report) {
        check::promoteWarnings(report);
        for (const check::Diagnostic& diagnostic : report.diagnostics)
            printed += check::formatDiagnostic(diagnostic).size();
        printed += check::formatSummary(report).size();
    };
    check::CheckReport chain = check::checkFolder(folder);
    print(chain);
    check::CheckReport single = check::checkFiles({folder + "/config.txt"});
    print(single);
    // Every report ends in a summary line, so something was always printed.
    if (printed == 0) __builtin_trap();
    return 0;
}
