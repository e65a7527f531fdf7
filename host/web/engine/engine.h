#pragma once
// The page's device and its folder: a C interface over one session on a folder held in
// memory, run on virtual time. Plain C functions over numbers and pointers into the module's memory
// keep the WebAssembly module small and its JavaScript glue free of any binding runtime; the page
// copies out what it reads. Offsets in milliseconds are returned as doubles, which hold every whole
// number a page will ever reach exactly.
#include <cstdint>

extern "C" {

// Memory for the page to write names and file bytes into.
void* orvanta_alloc(uint32_t size);
void orvanta_free(void* memory);
// The size of the text a replying function returned last (see engine_state.h).
uint32_t orvanta_reply_size();

// The folder: emptied, then filled file by file. A name is any bytes but NUL (0 otherwise).
void orvanta_clear_files();
int orvanta_put_file(const char* name, uint32_t nameLength, const uint8_t* bytes, uint32_t size);
void orvanta_remove_file(const char* name, uint32_t nameLength);
// The page saved (or an editor changed) `name`: the session takes it as a save on disk, so
// a configuration file is shown at once and a picture of the file on show loads it again.
void orvanta_file_saved(const char* name, uint32_t nameLength);

// A new device as at power-on on the files given; its first frame starts when its clock
// reads 10,000 ms. The trace starts empty.
void orvanta_power_on();
// Runs `count` frames, each started as the window's timer would start it.
void orvanta_run_frames(uint32_t count);
double orvanta_next_start(); // ms after the first frame's start when the next one starts
double orvanta_last_end();   // ms, on the same clock, when the last frame ended; 0 before any
double orvanta_frames_run();

// The picture: the surface's 128 x 128 words (red in bits 0-7, green 8-15, blue 16-23), row
// after row.
const uint32_t* orvanta_picture();
// The trace since power-on.
const uint8_t* orvanta_trace();
uint32_t orvanta_trace_size();

// The design commands, as in the windows' menu: each load they ask for happens in the
// next frame. Restart gives a new device as at power-on, on the same clock.
void orvanta_reload();
void orvanta_next_file();
void orvanta_restart();
int orvanta_toggle_loop(); // 1 when Loop now holds the file on show
}
