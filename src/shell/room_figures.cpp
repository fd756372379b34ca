// room_figures.cpp -- for each room entered in a replay: frames spent, hit points lost and gained, score gained
#include "shell_room_figures.h"
#include "map.h"
#include "player.h"

bool room_figures_on = false; // collect and print the figures (--rooms)

// The figures of the room being played, from the frame it was entered.
struct RoomVisit {
    bool open;               // a room is being counted
    int left, top;           // its bounds' top-left tile: names the room
    int frames;
    int hp_lost, hp_gained;  // hundredths
    int score_gained;
};
static RoomVisit visit;              // the room being played, counted since it was entered
static int hp_before, score_before; // the player's figures when the frame began

static void print_visit() {
    if (!visit.open)
        return;
    printf("room=%d,%d frames=%d hp_lost=%d.%02d hp_gained=%d.%02d score=%d\n", visit.left, visit.top, visit.frames,
           visit.hp_lost / 100, visit.hp_lost % 100, visit.hp_gained / 100, visit.hp_gained % 100, visit.score_gained);
}

void room_figures_frame_begin() {
    hp_before = player_hp;
    score_before = score;
}

void room_figures_frame_end() {
    if (!room_figures_on)
        return;
    if (!visit.open || visit.left != room_left || visit.top != room_top) {
        print_visit();
        visit = RoomVisit{true, room_left, room_top, 0, 0, 0, 0};
    }
    visit.frames++;
    int hp_change = player_hp - hp_before;
    if (hp_change < 0)
        visit.hp_lost -= hp_change;
    else
        visit.hp_gained += hp_change;
    visit.score_gained += score - score_before;
}

void room_figures_finish() {
    if (room_figures_on)
        print_visit();
    visit.open = false;
}
