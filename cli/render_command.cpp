#include <CLI/CLI.hpp>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <unistd.h>
#include <vector>

#include "cli/commands.h"
#include "cli/renderer.h"
#include "platform/utf8_path.h"

namespace orvanta::cli {

namespace {

// A progress bar on standard error, shown only on a terminal and only once a render has
// taken more than a second.
class ProgressBar {
  public:
    ProgressBar() : enabled_(::isatty(STDERR_FILENO) != 0), begun_(Clock::now()) {}
    ~ProgressBar() {
        if (shown_) std::fputs("\n", stderr);
    }
    void operator()(uint64_t done, uint64_t planned) {
        if (!enabled_) return;
        const auto now = Clock::now();
        if (now - begun_ < std::chrono::seconds(1) || now - last_ < std::chrono::milliseconds(100))
            return;
        last_ = now;
        shown_ = true;
        if (planned == 0) {
            std::fprintf(stderr, "\rrendering: %llu frames", static_cast<unsigned long long>(done));
        } else {
            const int width = 40;
            const int filled = static_cast<int>(done * width / planned);
            std::fprintf(stderr, "\rrendering [%.*s%*s] %3d%%", filled,
                         "########################################", width - filled, "",
                         static_cast<int>(done * 100 / planned));
        }
        std::fflush(stderr);
    }

  private:
    using Clock = std::chrono::steady_clock;
    bool enabled_;
    bool shown_ = false;
    Clock::time_point begun_;
    Clock::time_point last_{};
};

// "X,Y" with both from 0 to 127, nothing else.
std::optional<PixelPosition> parsePixel(const std::string& text) {
    int x = 0, y = 0, used = 0;
    if (std::sscanf(text.c_str(), "%4d,%4d%n", &x, &y, &used) != 2 ||
        used != static_cast<int>(text.size()) || x < 0 || x >= DISPLAY_SIZE || y < 0 ||
        y >= DISPLAY_SIZE)
        return std::nullopt;
    return PixelPosition{x, y};
}

} // namespace

void addRenderCommand(CLI::App& app, int& exitCode) {
    auto options = std::make_shared<RenderOptions>();
    CLI::App* render = app.add_subcommand(
        "render", "Run the simulator without a window on virtual time and write pictures");
    render
        ->add_option("DIR", options->folder,
                     "Configuration folder; the first frame loads config.txt from it")
        ->capture_default_str();
    auto* frames = render->add_option("--frames", options->frames, "Number of frames to run")
                       ->capture_default_str();
    render
        ->add_option("--seconds", options->seconds,
                     "Run every frame that starts within this many virtual seconds")
        ->check(CLI::PositiveNumber)
        ->excludes(frames);
    render
        ->add_option("--start-ms", options->startMs,
                     "The clock reading at the first frame (any 32-bit unsigned value)")
        ->capture_default_str();
    render->add_flag("--loop", options->loop,
                     "Hold the simulator on the current configuration file (Loop mode)");
    render->add_option("--png", options->pngPath, "Write the last picture as a PNG file");
    render->add_option("--gif", options->gifPath, "Write an animated GIF of the whole run");
    render->add_option("--zoom", options->zoom, "Enlarge the PNG and GIF pictures (1 to 16)")
        ->check(CLI::Range(1, 16))
        ->capture_default_str();
    render->add_option("--trace", options->tracePath,
                       "Write the trace to FILE, or to standard output with '-'");
    auto lineAt = std::make_shared<std::vector<std::string>>();
    render
        ->add_option("--line-at", *lineAt,
                     "Print which line drew pixel X,Y of the last picture (repeatable)")
        ->type_name("X,Y")
        ->allow_extra_args(false);
    render
        ->add_option("--hold", options->holds,
                     "Hold the object of line LINE of FILE at VALUE from power-on: 9, -16,15 "
                     "(a horizon's two ends), 0042 (digits), lit or dark (repeatable)")
        ->type_name("FILE:LINE=VALUE")
        ->allow_extra_args(false);
    render
        ->add_option("--sweep", options->sweeps,
                     "Sweep the object of line LINE of FILE end to end from power-on "
                     "(repeatable)")
        ->type_name("FILE:LINE")
        ->allow_extra_args(false);
    render->callback([options, lineAt, &exitCode]() {
        // The trace on standard output is byte for byte the device's; nothing may join it.
        if (!lineAt->empty() && options->tracePath == "-") {
            std::fprintf(stderr, "orvanta-cli render: error: --line-at cannot be combined with "
                                 "--trace -\n");
            exitCode = 2;
            return;
        }
        options->lineAt.clear();
        for (const std::string& text : *lineAt) {
            const std::optional<PixelPosition> pixel = parsePixel(text);
            if (!pixel) {
                std::fprintf(stderr,
                             "orvanta-cli render: error: --line-at '%s' is not X,Y with X and "
                             "Y from 0 to 127\n",
                             text.c_str());
                exitCode = 2;
                return;
            }
            options->lineAt.push_back(*pixel);
        }
        std::error_code ec;
        if (!std::filesystem::is_directory(utf8Path(options->folder), ec)) {
            std::fprintf(stderr, "orvanta-cli render: error: '%s' is not a folder\n",
                         options->folder.c_str());
            exitCode = 2;
            return;
        }
        ProgressBar bar;
        const RenderResult result =
            cli::render(*options, [&bar](uint64_t done, uint64_t planned) { bar(done, planned); });
        for (const std::string& note : result.notes)
            std::fprintf(stderr, "orvanta-cli render: note: %s\n", note.c_str());
        if (result.exitCode != 0)
            std::fprintf(stderr, "orvanta-cli render: error: %s\n", result.error.c_str());
        exitCode = result.exitCode;
        if (result.exitCode == 0)
            for (const std::string& line : result.lines) std::printf("%s\n", line.c_str());
    });
}

} // namespace orvanta::cli
