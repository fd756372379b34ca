// assets.h -- the datafile catalogue, the datafiles, and the sound calls (src/assets)
#pragma once
#include "map_kinds.h" // the kinds whose art the datafiles hold
#include <allegro.h>
#include <vector>

// Entry indices of "data.dat" (game_data).
constexpr int PANEL_ART = 0;          // 80x240 side panel
constexpr int BOMB_SPRITE = 1;        // the lit bomb
constexpr int SHOT_SPRITE = 2;        // a flying shot
constexpr int EXPLOSION_ART = 3;      // explosion frames 3, 4, 5; 3 is also a shot's impact
constexpr int PANEL_FONT = 6;         // the panel counters' font
constexpr int MUSIC = 8;              // the looped MIDI tune
constexpr int GAME_PALETTE = 9;       // the display palette
constexpr int SAMPLE_BASE = 10;       // sound effect n is entry 10 + n
constexpr int TERRAIN_ART_BASE = 14;  // terrain code t is entry 14 + t (t = 0..74)
constexpr int GAME_DATA_ENTRIES = 103;
constexpr int GUY_DATA_ENTRIES = 17;     // player frame f is entry f + 1
constexpr int MONSTER_DATA_ENTRIES = MAX_MONSTER_KIND; // a sprite a kind (map_kinds.h)
constexpr int PICKUP_SOUND = 2;
constexpr int EXPLOSION_SOUND = 3;

extern DATAFILE *game_data;    // "data.dat"
extern DATAFILE *guy_data;     // "guy.dat"
extern DATAFILE *monster_data; // "monster.dat"

// Installs the sound system and sets the volumes: 0, or -1 when it cannot.
// The patch set for the music is checked first (guard_patch_set).
int init_sound();
// Plays sound effect n (entry 10 + n of game_data) once.
void play_effect(int n);

// The bitmap of game_data entry `index`; a visible placeholder tile when the
// datafile has no bitmap there (editors draw terrain codes up to 255).
BITMAP *game_bitmap(int index);
// Player frame f (0..15) and monster art of kind k (1..14); the placeholder
// tile outside those ranges.
BITMAP *player_frame_art(int frame);
BITMAP *monster_art(int kind);
// The art of object code o: the entry its kind names, or entry
// OBJECT_ART_BASE + o (the placeholder past the datafile's end) for a code
// no kind has, as a layer file may hold.
BITMAP *object_art(int code);

// The sprites drawn by the dozen (monsters, shots, the bomb and explosions)
// as run-length sprites, built at start-up: the same pixels as draw_sprite
// of their art, drawn several times faster. Art whose bitmap has changed
// since is copied again when asked for.
void build_sprites();
void free_sprites();
// Kind k (1..14), or the placeholder tile outside that range.
RLE_SPRITE *monster_sprite(int kind);
// game_data entry 1..5: the bomb, the shot, the three explosion frames.
RLE_SPRITE *effect_sprite(int index);

// Checks that a loaded datafile holds every entry the game uses, with the
// right type and size. `which` is 0 for data.dat, 1 guy.dat, 2 monster.dat.
// Returns true when usable; otherwise writes the reason ("entry 9 should be
// a palette") into `why` (at least 128 bytes).
bool check_datafile(const DATAFILE *data, int which, char *why, int why_size);

// Walks a datafile's structure (after the packfile layer's decompression)
// before load_datafile sees it: every object must fit in its parent and the
// contents of bitmaps, samples, tunes, fonts and palettes in their object.
// Allegro's loader trusts those sizes and crashes on a truncated file.
// The largest datafile the game reads, before and after unpacking.
constexpr long MAX_DATAFILE_BYTES = 64L << 20;
bool check_datafile_bytes(const unsigned char *bytes, long size, char *why, int why_size);
bool check_datafile_file(const char *file, char *why, int why_size);
// Reads the datafile `path` through the packfile layer, which undoes a
// packing of the whole file, into `bytes` (at most `max_bytes`);
// false with the reason.
bool read_unpacked_datafile(const char *path, std::vector<unsigned char> &bytes, char *why, int why_size,
                            long max_bytes = MAX_DATAFILE_BYTES);
// Opens `file` once, refuses anything but a regular file, checks its
// structure, and has the library load that same file. NULL with the reason
// in `why` when any of it fails.
DATAFILE *load_checked_datafile_file(const char *file, char *why, int why_size);

// The music's instruments: "patches.dat" made by pat2dat, which Allegro's
// DIGMID driver reads beside the program. check_patch_set_* accept a
// datafile of sound structure whose instruments are whole Gravis patches and
// that holds the patch index "default_cfg"; otherwise they write the reason
// into `why` (at least 128 bytes).
// The largest patch set the game reads, before and after unpacking: the
// tune's instruments take under a megabyte, a whole General MIDI set a few.
constexpr long MAX_PATCH_SET_BYTES = 16L << 20;
bool check_patch_set_bytes(const unsigned char *bytes, long size, char *why, int why_size);
bool check_patch_set_file(const char *file, char *why, int why_size);
// Before install_sound: finds the patch set the library would read; when it
// is damaged, or there is no digital sound to play it through, points the
// library away from it for this run (an in-memory configuration, nothing
// written). Returns true when the library may use what it finds.
bool guard_patch_set();
