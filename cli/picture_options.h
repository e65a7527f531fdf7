#pragma once
// The picture command's option texts and its report.
#include <string>
#include <vector>

#include "media/convert.h"

namespace orvanta::cli {

// Reads "WxH", "X,Y,W,H", the background colour and "X,Y" (each empty when not given)
// into `options`. The colour is an RGB565 number from 0 to 65535, as configuration files
// write colours, or #rrggbb. Returns false with a one-line `error` otherwise.
bool parsePictureOptions(const std::string& fit, const std::string& crop,
                         const std::string& background, const std::string& place,
                         ConvertOptions* options, std::string* error);

// The lines printed after a conversion: the sizes chosen and what the panel changes.
std::vector<std::string> pictureReport(const std::string& input, const std::string& output,
                                       const ConvertOptions& options, const ConvertResult& result);

} // namespace orvanta::cli
