// test_support.h -- a headless Allegro, test art and small test worlds
#pragma once
#include <string>
#include <vector>
#include <allegro.h>

// Test art, so that drawing is checkable pixel by pixel:
//  - terrain code t (1..74) is a solid 16x16 square of colour t; code 0 is colour
//    TILE0_COLOUR (colour 0 means "walkable" to the player's probe);
//  - object o (1..14) is 16x16 with colour 0 (transparent) round a centre square
//    at (4..11, 4..11) of colour OBJECT_COLOUR_BASE + o;
//  - player frame f is a solid 24x32 rectangle of colour PLAYER_COLOUR_BASE + f;
//  - monster kind k is a solid rectangle of colour MONSTER_COLOUR_BASE + k,
//    82x130 for kind 1, else 30x20;
//  - panel art is solid PANEL_COLOUR 80x240, the panel font Allegro's 8x8 font;
//  - bomb, shot and explosions are solid 16x16 squares of BOMB_COLOUR, SHOT_COLOUR
//    and EXPLOSION_COLOUR_BASE + 0, 1, 2;
//  - the palette is a smooth ramp with colour 0 black.
constexpr int TILE0_COLOUR = 250;
constexpr int OBJECT_COLOUR_BASE = 160;
constexpr int PLAYER_COLOUR_BASE = 180;
constexpr int MONSTER_COLOUR_BASE = 140;
constexpr int PANEL_COLOUR = 230;
constexpr int BOMB_COLOUR = 201;
constexpr int SHOT_COLOUR = 202;
constexpr int EXPLOSION_COLOUR_BASE = 203;

// Installs Allegro with no system driver (once per process) and the test art
// into game_data, guy_data and monster_data. Builds back_buffer, dark_buffer,
// lamp_sprite and the three colour tables the way start-up does, and points
// Allegro's `screen` at a 320x240 memory bitmap (no graphics mode headless).
void start_headless();

// A world of w x h tiles: the terrain filled with `fill`, objects and monsters
// empty. Resets the view to origin (66, 151) with zero offsets, the player,
// the bomb, the shots and the monsters, and clears the back buffer.
void make_world(int w, int h, int fill);

// Draws a closed rectangular room: boundary code `wall` (0 or 74) on the
// border of [left, right] x [top, bottom], `floor` inside.
void make_room(int left, int top, int right, int bottom, int floor, int wall = 0);

// Clears every key and mouse button.
void release_all_input();

// The play-field pixel at the top-left of tile (tx, ty) with the current view.
int tile_px(int tx);
int tile_py(int ty);

// How often the game played sound effect n (entry 10 + n) since the last
// reset; make_world resets. last_play_args holds volume, pan, frequency, loop.
int samples_played(int n);
void reset_sample_counts();
extern int last_play_args[4];

// A world saved to the three layer files of a fresh temporary folder, which
// becomes the working folder: a w x h world of floor `fill` (make_world) with
// the start room drawn with floor `room_floor` (make_room). True on success.
// leave_saved_world goes back to the folder of before (temp_dir removes it at exit).
struct SavedWorld {
    char old_dir[4096];
    std::string dir;
};
bool enter_saved_world(SavedWorld &world, int w, int h, int fill, int room_floor);
void leave_saved_world(SavedWorld &world);

// A fresh folder under $TMPDIR (or /tmp), removed with all it holds when
// the test program ends; and the bytes of a file (empty when unreadable).
std::string temp_dir();
std::vector<unsigned char> file_bytes(const std::string &path);
