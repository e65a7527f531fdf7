#pragma once
// Everything the window's paint cycle computes, kept free of the window system so that
// tests reach it without a display.
#include <cstdint>
#include <string>

namespace orvanta {
} // namespace orvanta
