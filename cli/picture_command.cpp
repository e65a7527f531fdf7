#include <CLI/CLI.hpp>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#endif

#include "cli/commands.h"
#include "cli/picture_options.h"
#include "media/picture_files.h"
#include "platform/utf8_path.h"

namespace orvanta::cli {

namespace {

namespace fs = std::filesystem;

struct PictureArguments {
    std::string input, output;
    std::string fit, crop, background = "0", place, preview;
    int32_t zoom = 1;
    bool dither = false;
};

bool readInput(const std::string& path, std::vector<uint8_t>* bytes, std::string* error) {
    std::error_code ec;
    const fs::path file = utf8Path(path);
    const uintmax_t size = fs::file_size(file, ec);
    if (ec) {
        *error = "cannot read '" + path + "': " + ec.message();
        return false;
    }
    // A larger file is refused before it is read.
    if (size > kMaxPictureFileBytes) {
        *error = "'" + path + "' is " + std::to_string(size >> 20) + " MB, larger than the " +
                 std::to_string(kMaxPictureFileBytes >> 20) + " MB a picture may be";
        return false;
    }
    std::ifstream in(file, std::ios::binary);
    bytes->resize(static_cast<std::size_t>(size));
    if (!in.read(reinterpret_cast<char*>(bytes->data()), static_cast<std::streamsize>(size))) {
        *error = "cannot read '" + path + "'";
        return false;
    }
    return true;
}

// Writes the whole file under a temporary name beside `path` and renames it over `path`,
// so that `path` is never half-written and may be the input itself.
bool writeReplacing(const std::string& path, const std::vector<uint8_t>& bytes,
                    std::string* error) {
    const fs::path target = utf8Path(path);
    std::error_code ec;
    if (fs::exists(target, ec) && !fs::is_regular_file(target, ec)) {
        *error = "'" + path + "' is not a regular file, so it is not replaced";
        return false;
    }
    const fs::path temporary =
        target.parent_path() / utf8Path("." + utf8String(target.filename()) + ".orvanta-new");
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()),
                  static_cast<std::streamsize>(bytes.size()));
        out.close();
        if (!out) {
            std::error_code ignored;
            fs::remove(temporary, ignored);
            *error = "cannot write '" + path + "'";
            return false;
        }
    }
#ifdef _WIN32
    const bool renamed = MoveFileExW(temporary.c_str(), target.c_str(),
                                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
#else
    fs::rename(temporary, target, ec);
    const bool renamed = !ec;
#endif
    if (!renamed) {
        std::error_code ignored;
        fs::remove(temporary, ignored);
        *error = "cannot replace '" + path + "'";
    }
    return renamed;
}

int runPicture(const PictureArguments& a) {
    const auto fail = [](int status, const std::string& message) {
        std::fprintf(stderr, "orvanta-cli picture: error: %s\n", message.c_str());
        return status;
    };
    ConvertOptions options;
    std::string error;
    if (!parsePictureOptions(a.fit, a.crop, a.background, a.place, &options, &error))
        return fail(2, error);
    options.dither = a.dither;
    std::vector<uint8_t> file;
    if (!readInput(a.input, &file, &error)) return fail(2, error);
    ConvertResult result;
    PictureFiles made;
    if (!makePictureFiles(file, options, a.preview.empty() ? 0 : a.zoom, &result, &made, &error))
        return fail(2, "'" + a.input + "': " + error);
    file = {};
    if (!a.preview.empty() && !writeFileBytes(a.preview, made.preview, &error))
        return fail(1, error);
    if (!writeReplacing(a.output, made.bmp, &error)) return fail(1, error);
    for (const std::string& line : pictureReport(a.input, a.output, options, result))
        std::printf("%s\n", line.c_str());
    std::fflush(stdout);
    return 0;
}

} // namespace

void addPictureCommand(CLI::App& app, int& exitCode) {
    auto a = std::make_shared<PictureArguments>();
    CLI::App* picture = app.add_subcommand(
        "picture", "Turn a PNG, JPEG, GIF or BMP picture into the 24-bit BMP the device draws");
    picture->add_option("IN", a->input, "The picture to read: PNG, JPEG, GIF or BMP")->required();
    picture->add_option("OUT", a->output, "The BMP file to write; it may be IN itself")->required();
    picture
        ->add_option("--fit", a->fit,
                     "Shrink to fit WxH, keeping the aspect ratio (default: 128x128; "
                     "smaller pictures keep their size)")
        ->type_name("WxH");
    picture->add_option("--crop", a->crop, "Use only the part X,Y,W,H of the picture")
        ->type_name("X,Y,W,H");
    picture
        ->add_option("--background", a->background,
                     "The colour under transparent pixels and around a placed picture: an "
                     "RGB565 number as in configuration files (0 to 65535) or #rrggbb")
        ->type_name("COLOUR")
        ->capture_default_str();
    picture->add_flag("--dither", a->dither,
                      "Reduce to the panel's RGB565 colours with error diffusion, so that "
                      "gradients do not band");
    picture
        ->add_option("--place", a->place,
                     "Put the picture at X,Y on a 128x128 canvas of the background colour")
        ->type_name("X,Y");
    picture
        ->add_option("--preview", a->preview,
                     "Also write a PNG of the panel showing the picture, in RGB565 colours")
        ->type_name("FILE.png");
    picture->add_option("--zoom", a->zoom, "Enlarge the preview (1 to 16)")
        ->check(CLI::Range(1, 16))
        ->capture_default_str();
    picture->callback([a, &exitCode]() { exitCode = runPicture(*a); });
}

} // namespace orvanta::cli
