#pragma once
#include <string>
#include <vector>

namespace orvanta::cli {

int renderMain(int argc, char** argv);

} // namespace orvanta::cli
