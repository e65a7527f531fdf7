#pragma once
// The menu commands every host offers, by the command numbers of the menu: the first
// five as the device's own program numbers them, then the design commands.
namespace orvanta::command {

inline constexpr long kAbout = 104;
inline constexpr long kExit = 105;
inline constexpr long kZoom1 = 32771; // .. 32774 for zoom 4
inline constexpr long kLoop = 32775;
inline constexpr long kReload = 32776;
inline constexpr long kRestart = 32777;
inline constexpr long kLoadNext = 32778;
inline constexpr long kPause = 32779;
inline constexpr long kStep = 32780;
inline constexpr long kSavePicture = 32781;
inline constexpr long kFindings = 32782;
inline constexpr long kShowLine = 32783;
inline constexpr long kOpenDesigner = 32784;
// Design -> Readings: every object of the file on show at once.
inline constexpr long kReadingsDevice = 32790;
inline constexpr long kReadingsMinimum = 32791;
inline constexpr long kReadingsMaximum = 32792;
inline constexpr long kReadingsSweep = 32793;

} // namespace orvanta::command
