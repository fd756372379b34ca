// shell.h -- start-up, the frame loop, the room-change step and shutdown
#pragma once
#include <allegro.h>

struct GameOptions;

extern int pending_room_change; // a direction whose room change runs next frame, 7 = none
extern RGB zero_rgb;            // black, for palette entry 0

void reset_colour_zero();

// The room-change step for the axis across `dir` (vertical for 2/3, horizontal for 5/6).
void room_change_step(int dir);
// Frame steps 1..9: room change, updates, drawing and presentation.
void frame_update_and_draw();
// Frame steps 11..14: fire, movement, bomb, editor chord.
void frame_input();
// The end test: hit points gone, Esc held, or the goal taken.
bool game_should_end();

// Start-up steps 4..19 without the graphics mode: loads and checks the
// datafiles and layers, builds the colour tables, buffers and lamp sprite.
// Returns 0, or 1 after printing one line on standard error.
int load_game_files();
// Frees what load_game_files and start-up made.
void shutdown_game();
// Start-up steps 12..15: the buffers are frame-sized whatever the screen's size.
void create_buffers();
// Start-up steps 18..19.
void enter_first_room();

// The graphics mode the options ask for: the plain 320x240 mode, a window of
// a whole scale, or the desktop's mode with the frame scaled and centred
// (falling back to the largest window that fits). Sets present_scale,
// present_x and present_y. Returns 0, or 1 after one line on standard error.
int open_game_screen(const GameOptions &options);
// The largest scale (1..8) whose window fits in nine tenths of each side of
// the desktop; 1 when none does.
int auto_scale(int desktop_w, int desktop_h);
// The largest whole scale at which the frame fits a screen_w x screen_h
// screen (at least 1), centred: sets present_scale, present_x, present_y.
void place_frame(int screen_w, int screen_h);
