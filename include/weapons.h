// weapons.h -- shots, the bomb, and the gates that switches toggle (src/weapons)
#pragma once

struct Shot {
    int x, y;  // top-left of the shot sprite, play-field pixels
    int dir;   // flight direction
    int state; // 1 flying, 2 free, 3 impact (drawn once, then free)
};

// Shot states.
constexpr int SHOT_FLYING = 1;
constexpr int SHOT_FREE = 2;
constexpr int SHOT_IMPACT = 3;

constexpr int MAX_SHOTS = 1000;
extern Shot shots[MAX_SHOTS]; // every shot slot, found free by scanning for state 2

void clear_shots();  // frees every slot
void fire_shot();    // one shot from the player, if a slot is free
void update_shots(); // moves flying shots 16 px and resolves their hits
void draw_shots();   // draws flying shots and this frame's impacts, frees impacts

// Bomb states.
constexpr int BOMB_LIT = 1;
constexpr int BOMB_IDLE = 2;
constexpr int BOMB_FUSE = 25; // frames from the drop to the blast

extern int bomb_x, bomb_y;  // play-field pixel of the bomb sprite's top-left
extern int bomb_state;      // 1 lit, 2 idle
extern int bomb_timer;      // fuse, in frames

void reset_bomb();   // idle bomb at (0, 0)
void drop_bomb();    // lights a bomb at the player's feet, if one is carried and none burns
void update_bomb();  // draws a lit bomb, burns its fuse, explodes and blasts
void toggle_gates(); // swaps every gate of the room: 26/27 <-> 56/57
