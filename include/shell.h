// shell.h -- start-up, the frame loop, the room-change step and shutdown (src/shell)
#pragma once
#include <allegro.h>
#include "map.h"

struct GameOptions;

extern RGB zero_rgb;            // black, for palette entry 0

// A direction whose room change runs at the start of the next frame, or
// DIR_NONE (7). Set by a room exit and after an editor.
extern int pending_room_change;
// The room-change step for the axis across `dir` (vertical for left and
// right, horizontal for up and down): the new room measured, the view pulled
// into it (the player keeping its place), bomb, shots and monsters reset.
void room_change_step(int dir);
// The frame's first step: the pending room change, if any.
void run_pending_room_change();


void reset_colour_zero();

// The first half of a frame: a pending room change, the shots and monsters
// moving, the view and everything on it drawn, the frame presented.
void frame_update_and_draw();
// The input step after the sleep: fire, movement, bomb, the editor chord.
void frame_input();
// The end test, the one place it is written: "died" (hit points gone),
// "esc" (Esc held) or "goal" (the goal taken), in that order; `otherwise`
// when none holds.
const char *end_reason(const char *otherwise);
// Whether the end test holds.
bool game_should_end();
// The frame loop: frames (each followed by the 60 ms sleep when `paced`)
// until the end test holds or a replayed recording runs out of frames;
// `after_frame`, when given, runs after each frame's input step (the route
// tool's trace). Returns why it ended: "died", "esc", "goal" or "input-ended".
const char *run_frame_loop(bool paced, void (*after_frame)() = nullptr);
// After the frame loop: the end line of the run into `end_line` (160 chars),
// written as the trailer of a recording in progress; a replay prints it on
// standard output, after its per-room figures. False after one line on
// standard error when that output could not be written.
bool finish_run(const char *reason, char *end_line);
// --replay FILE --headless, once the recording is loaded: the whole run with
// no display, no sound and no sleeping. 0 when it ends with the recording's
// end line; otherwise 1, with both lines on standard error.
// With `picture`, the run's last frame is saved there as an image.
int replay_headless(const char *file, const char *picture);
// Start-up without a display: the files, the buffers, the first room. No
// sound, no music, no graphics mode: a memory bitmap stands in for the
// screen. Returns 0, or 1 after one line on standard error.
int start_headless_game();

// A Windows GUI program has no console: keep_console_output, called first,
// keeps what the game prints; show_console_output, called last, shows it in
// a message box when it holds more than the progress line. Elsewhere both do
// nothing.
void keep_console_output();
void show_console_output();

// Start-up before the graphics mode: loads and checks the datafiles and
// layers, builds the sprites and the colour tables. Returns 0, or 1 after
// printing one line on standard error.
int load_game_files();
// Frees what load_game_files and start-up made.
void shutdown_game();
// Measures the first room and resets the player, bomb, shots and monsters.
void enter_first_room();

// The graphics mode the options ask for: the plain 320x240 mode, a window of
// a whole scale, or the desktop's mode with the frame scaled and centred
// (falling back to the largest window that fits). Sets present_scale,
// present_x and present_y. Returns 0, or 1 after one line on standard error.
int open_game_screen(const GameOptions &options);
// The largest scale (1..8) whose window fits in nine tenths of each side of
// the desktop; 1 when none does.
int auto_scale(int desktop_w, int desktop_h);
// The largest whole scale up to `largest` at which the frame fits a
// screen_w x screen_h screen (at least 1), centred: sets present_scale,
// present_x, present_y.
void place_frame(int screen_w, int screen_h, int largest);
