#include "cli/render.h"

namespace orvanta::cli {

int renderMain(int, char**) { return 2; }

} // namespace orvanta::cli
