// shell_options.h -- the game's command-line options, parsed in one place (src/shell)
#pragma once
#include "view.h" // MAX_PRESENT_SCALE

// What the command line asked for. With no options every field keeps its
// default and the game opens its plain 320x240 mode.
struct GameOptions {
    int scale;        // 0: the plain 320x240 mode; 1..8: a window N times as large (with
                      // --fullscreen: the picture N times as large on the whole screen)
    bool scale_auto;  // --scale auto: the largest window that fits the desktop
    bool fullscreen;  // --fullscreen: the desktop's mode, the frame scaled and centred
    bool help;        // --help: print the usage and end with 0
    bool version;     // --version: print the version and end with 0
    const char *record_file; // --record FILE: write a recording of the run, or null
    const char *replay_file; // --replay FILE: play the recording instead of the keyboard, or null
    bool headless;    // --headless (with --replay): no window, no sound, no pacing
    bool room_figures;// --rooms (with --replay): a line of figures for each room entered
    const char *picture_file; // --picture FILE (with --replay --headless): the last frame as an image, or null
    bool show_controls; // --controls: print the mapping in use and end (the caller does it)
    bool summary;       // --summary: the run's figures on the screen at its end (not headless)
};

constexpr int MAX_SCALE = MAX_PRESENT_SCALE;

// Parses argv[1..argc-1] into `options`. Returns -1 when the game should
// start (or print the controls: show_controls); otherwise the exit status
// after the output is written: 0 after
// --help or --version (on standard output), 2 after a bad option (one line
// naming it, then the usage, on standard error).
int parse_options(int argc, char **argv, GameOptions *options);

// The usage text, as --help prints it.
const char *usage_text();
