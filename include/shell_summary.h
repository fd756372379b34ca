// shell_summary.h -- the run's figures shown at its end with --summary (src/shell)
#pragma once

extern bool summary_on; // --summary: show the figures when the run ends

// At the first room, before play: the world's whole score (every object in
// the object layer), its rooms, and the clock.
void summary_start();
// After each frame: the room the player is in counts as seen.
void summary_frame();
// The figures as lines ("SCORE 120 OF 900", ...), for the screen and tests.
struct SummaryFigures {
    int score, whole_score, hp, seconds, rooms_seen, rooms;
};
SummaryFigures summary_figures();
// Shows the figures on the game's screen until a key is pressed or
// SUMMARY_SECONDS pass. `reason`: "goal", "died" or "esc".
void show_summary(const char *reason);
constexpr int SUMMARY_SECONDS = 10;
