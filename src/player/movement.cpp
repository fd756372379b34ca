// movement.cpp -- the player's state, the arrow-key step and move_player
#include "player.h"
#include "map.h"
#include <allegro.h>

int player_x, player_y;  // play-field pixel of the sprite's top-left corner
int player_dir;          // facing: 2 left, 3 right, 5 up, 6 down
int player_frame;        // animation frame 0..15 of the player's sprite set
int player_hp;           // hit points in hundredths; the panel shows player_hp / 100
int score;               // points from the objects taken
int bombs;               // bombs carried
int has_lamp;            // 1 once the lamp is taken: dark rooms show the light circle
int has_ghost;           // 1 once the ghost cloak is taken: Left Control walks through 24, 25
char game_over;          // set to 1 by the goal object; the loop ends after that frame
int hold_frames;         // arrow-key hold counter, 0..9, shared by all held arrows
const int speed_ramp[10] = {2, 4, 4, 4, 4, 4, 8, 8, 8, 8}; // step requests by hold_frames

// What a direction means to the figure: its animation frames and the probe
// lines of its moves. Line i starts at (player + base + i * step) and runs
// `points` pixels along `along`.
struct MoveProbe {
    int dir;
    int first_frame, last_frame;
    int base_x, base_y;
    int step_x, step_y;
    int along_x, along_y;
    int points;
};

// The lines run along the collision area's edges (PLAYER_BOX_*); vertical
// moves probe only up to column x + 18.
static const int L = PLAYER_BOX_LEFT, R = PLAYER_BOX_RIGHT, T = PLAYER_BOX_TOP, B = PLAYER_BOX_BOTTOM;
static const MoveProbe move_probes[4] = {
    {DIR_LEFT, 8, 11, L, T, -1, 0, 0, 1, B - T + 1},
    {DIR_RIGHT, 12, 15, R, T, 1, 0, 0, 1, B - T + 1},
    {DIR_UP, 0, 3, L, T, 0, -1, 1, 0, R - L},
    {DIR_DOWN, 4, 7, L, B, 0, 1, 1, 0, R - L},
};

void reset_player() {
    player_x = PLAYER_START_X;
    player_y = PLAYER_START_Y;
    player_dir = DIR_RIGHT;
    player_frame = 12;
    player_hp = 20000;
    score = 0;
    bombs = 0;
}

static const MoveProbe *rule_of(int dir) {
    for (const MoveProbe &r : move_probes)
        if (r.dir == dir)
            return &r;
    return nullptr;
}

static void advance_frame(const MoveProbe &r) {
    player_frame++;
    if (player_frame < r.first_frame || player_frame > r.last_frame)
        player_frame = r.first_frame;
}

// Ghost walking: Left Control is read afresh at every point, and each test
// is a probe of its own.
static bool ghost_passes(int x, int y) {
    return key[KEY_LCONTROL] && has_ghost == 1 && terrain_rule(probe_point(x, y)).ghost_passes;
}

// Tests one probe line: 0 when every point passes, 1 blocked, 2 exit.
static int test_line(const MoveProbe &r, int i) {
    int x = player_x + r.base_x + i * r.step_x;
    int y = player_y + r.base_y + i * r.step_y;
    for (int n = 0; n < r.points; n++, x += r.along_x, y += r.along_y) {
        if (ghost_passes(x, y))
            continue;
        if (terrain_rule(probe_point(x, y)).blocks_player)
            return 1;
        if (terrain_rule(probe_point(x, y)).exit)
            return 2;
    }
    return 0;
}

static void shift_player(const MoveProbe &r, int pixels) {
    player_x += r.step_x * pixels;
    player_y += r.step_y * pixels;
}

int move_player(int dir, int steps) {
    const MoveProbe *r = rule_of(dir);
    if (!r)
        return 0;
    advance_frame(*r);
    // Every line is measured from the position at the call; a request of
    // n steps moves at most n - 1 pixels.
    for (int i = 1; i <= steps - 1; i++) {
        int line = test_line(*r, i);
        if (line == 1) {
            shift_player(*r, i - 1);
            return 1;
        }
        if (line == 2) {
            take_room_exit(dir);
            return 2;
        }
    }
    if (steps > 1)
        shift_player(*r, steps - 1);
    return 0;
}

int arrow_key_step() {
    int exit_dir = DIR_NONE;
    bool held[4];
    bool any = false;
    // All four keys are read before any move, so a move cannot see a key change.
    for (int k = 0; k < 4; k++) {
        held[k] = key[DIRECTION_RULES[k].arrow_key] != 0;
        any = any || held[k];
    }
    if (!any)
        hold_frames = 0;
    for (int k = 0; k < 4; k++) {
        if (!held[k])
            continue;
        int dir = DIRECTION_RULES[k].code;
        if (player_dir == DIRECTION_RULES[k].opposite)
            hold_frames = 0;
        // Raised before it indexes the ramp: entry 0 is never used for a move.
        hold_frames++;
        if (hold_frames > 9)
            hold_frames = 9;
        player_dir = dir;
        if (move_player(dir, speed_ramp[hold_frames]) == 2)
            exit_dir = dir;
    }
    return exit_dir;
}
