// shell_room_figures.h -- per-room figures of a replay, for tuning a world's difficulty (src/shell)
#pragma once
#include <cstdio>

extern bool room_figures_on; // collect and print the figures (--rooms)

// Called around each frame by the frame loop: before its update, and after
// its input step. A frame counts for the room it was drawn in.
void room_figures_frame_begin();
void room_figures_frame_end();
// Prints the figures of the room the run ended in (the earlier rooms were
// printed as they were left).
void room_figures_finish();
