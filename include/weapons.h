// weapons.h -- shots, the bomb, and the gates that switches toggle
#pragma once

struct Shot {
    int x, y;  // top-left of the shot sprite, play-field pixels
    int dir;   // flight direction
    int state; // 1 flying, 2 free, 3 impact (drawn once, then free)
};

constexpr int MAX_SHOTS = 1000;
extern Shot shots[MAX_SHOTS];

void clear_shots();
void fire_shot();
void update_shots();
void draw_shots();

extern int bomb_x, bomb_y;  // play-field pixel of the bomb sprite's top-left
extern int bomb_state;      // 1 lit, 2 idle
extern int bomb_timer;      // fuse, in frames

void reset_bomb();
void drop_bomb();
void update_bomb();
void toggle_gates();
