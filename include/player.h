// player.h -- the player's state, movement, collision, room exits and pickups (src/player)
#pragma once
#include <allegro.h>

#include "map_terrain.h" // the direction codes
#include "map_kinds.h"   // what each object does when taken

// Where the player starts, and its collision area within the 24 x 32 sprite:
// columns x + 4 .. x + 19, rows y + 20 .. y + 31.
constexpr int PLAYER_START_X = 120, PLAYER_START_Y = 160;
constexpr int PLAYER_BOX_LEFT = 4, PLAYER_BOX_RIGHT = 19, PLAYER_BOX_TOP = 20, PLAYER_BOX_BOTTOM = 31;

extern int player_x, player_y;  // play-field pixel of the sprite's top-left corner
extern int player_dir;          // facing
extern int player_frame;        // animation frame 0..15
extern int player_hp;           // hit points in hundredths
extern int score;
extern int bombs;               // bombs carried
extern int has_lamp;            // 1 once the lamp is taken
extern int has_ghost;           // 1 once the ghost cloak is taken
extern char game_over;          // set to 1 by the goal object
extern int hold_frames;         // arrow-key hold counter, 0..9
extern const int speed_ramp[10];// step requests indexed by hold_frames

void reset_player();
int move_player(int dir, int steps); // 0 moved, 1 blocked, 2 room exit
int probe_point(int x, int y);       // terrain code under a play-field point; takes objects

// One frame of the arrow keys: reads key[] and moves the player. Returns the
// direction of the last room exit taken in the frame, or DIR_NONE.
int arrow_key_step();

// Whether an object lying on tile (tx, ty) of `terrain` can ever be taken:
// the tile is above 52 (where the probe takes objects), or a cracked wall or
// closed gate that a bomb or a switch turns into such floor. The world
// tool's check and the object editor's warning both ask this.
bool object_can_be_taken(BITMAP *terrain, int tx, int ty);

// A room exit through `dir`: the player to the far side of the play field,
// the view origin just beyond the boundary of the room being left
// (room_exit.cpp).
void take_room_exit(int dir);
// The view origin on the axis of travel after leaving through `dir` a room
// whose walls on that axis are low_wall and high_wall (the sub-tile offset 0
// it has at a wall).
int exit_view_origin(int dir, int low_wall, int high_wall);
// The tiles, on the axis of travel, that the player's collision box covers
// on landing there: the world tool's check and reach proof ask this.
void exit_landing_tiles(int dir, int low_wall, int high_wall, int *first, int *last);
