// movement.cpp -- the player's state, the arrow-key step and move_player
#include "player.h"

int player_x, player_y, player_dir, player_frame, player_hp, score, bombs;
int has_lamp, has_ghost;
char game_over;
int hold_frames;
const int speed_ramp[10] = {2, 4, 4, 4, 4, 4, 8, 8, 8, 8};

void reset_player() {
    player_x = 120; player_y = 160; player_dir = 3; player_frame = 12;
    player_hp = 20000; score = 0; bombs = 0;
}
int move_player(int, int) { return 0; }
void arrow_key_step() {}
