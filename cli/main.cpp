#include "cli/render.h"

int main(int argc, char** argv) { return orvanta::cli::renderMain(argc, argv); }
