// art.h -- shared helpers of the asset generator: palette ramps, random numbers, sprite drawing
#pragma once
#include <allegro.h>
#include <string>

// The palette is 16 ramps of 16 shades, dark to light: shade 0 is near black,
// shade 11 the ramp's full colour, 12..15 lighten towards white. Ramp 0 is grey
// and its shade 0 is colour 0, pure black (transparent in sprites, walkable to
// the player's probe, so never used in terrain).
enum Ramp {
    GREY, STONE, SLATE, BROWN, GOLD, RED, ORANGE, SAND,
    GREEN, MOSS, TEAL, BLUE, VIOLET, SKIN, GHOST, PINK
};

// Colour index of shade `shade` (0..15, clamped) of ramp `ramp`.
int shade(int ramp, int s);

// The darkest colour that may appear in terrain and sprites (grey shade 1).
constexpr int INK = 1;

// The game palette (palette.pcx, entry 9 of data.dat).
extern PALETTE game_palette;
void make_palette();

// A small deterministic random generator, so that rerunning the generator
// gives the same pictures.
void seed_random(unsigned seed);
int random_below(int n);

// Gives every transparent pixel that touches a drawn pixel (4-neighbourhood)
// the colour `ink`: the 1-pixel dark outline of a sprite.
void outline(BITMAP *bmp, int ink);

// Draws a picture given as text rows: each character is looked up in
// `legend` (pairs "c=index" separated by spaces, '.' is transparent).
void draw_text_art(BITMAP *bmp, int x, int y, const char *const *rows, int row_count, const char *legend);

// Shades a filled ellipse so it looks lit from the upper left.
void shaded_ellipse(BITMAP *bmp, int cx, int cy, int rx, int ry, int ramp, int base_shade);

// Writes `bmp` as an 8-bit PCX with the game palette into the assets folder.
void save_art(const std::string &dir, const char *name, BITMAP *bmp);

// The generators, each writing its files into `dir`.
void make_tiles(const std::string &dir);
void make_objects(const std::string &dir);
void make_panel_and_effects(const std::string &dir);
void make_player(const std::string &dir);
void make_monsters(const std::string &dir);
void make_sounds(const std::string &dir);
void make_tune(const std::string &dir);
