// shell.h -- start-up, the frame loop, the room-change step and shutdown
#pragma once
#include <allegro.h>

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
// Start-up steps 12..15 (needs SCREEN_W/SCREEN_H, so after the mode is set).
void create_buffers();
// Start-up steps 18..19.
void enter_first_room();
