// map_terrain.h -- what every terrain code does, and the geometry of tiles (src/map)
//
// The one place to look up a rule: the table below has a row for each of
// the 256 codes and a column for each rule that tests a code. Every rule of
// the game and the world tool reads it. The thresholds differ on purpose
// and stay apart as columns: the player is blocked below 52, monsters at 52
// and below, objects are taken above 52.
#pragma once

// --- Tiles, the view, directions ----------------------------------------------

constexpr int TILE_SIZE = 16;  // pixels a side
constexpr int TILE_SHIFT = 4;  // pixel >> TILE_SHIFT = tile
constexpr int VIEW_TILES = 15; // the play field is 15 x 15 tiles

// Direction codes: facing, movement, shots, monster moves; 7 is none.
constexpr int DIR_LEFT = 2;
constexpr int DIR_RIGHT = 3;
constexpr int DIR_UP = 5;
constexpr int DIR_DOWN = 6;
constexpr int DIR_NONE = 7;

// What a direction means wherever one moves something: the player, its
// shots, the monsters, the view in the editors, the world tool's walks.
struct DirectionRule {
    int code;        // DIR_LEFT, DIR_RIGHT, DIR_UP, DIR_DOWN (DIR_NONE: the still row)
    int dx, dy;      // one step along it: a pixel or a tile
    int opposite;    // the way back
    bool horizontal; // left or right: the room change settles the vertical axis
    int arrow_key;   // the Allegro key that asks for it in play and in the editors
    const char *name;
};
// The four, in the order the arrow keys are handled: left, right, up, down.
extern const DirectionRule DIRECTION_RULES[4];
// The row of a direction code; a still row (no step, no key) for any other.
const DirectionRule &direction_rule(int code);

// Play-field pixel p on one axis of a view with origin tile v and sub-tile
// offset s, to the tile it shows: t = v + ((p + s) >> 4), an arithmetic
// shift (-1 gives the tile before the origin). The probes of the player and
// the monsters and the editors' mouse use it.
inline int pixel_to_tile(int origin, int scroll, int p) { return origin + ((p + scroll) >> TILE_SHIFT); }
// The tile under the centre of a 16 x 16 sprite whose corner is at p: the
// bomb's blast and a shot's terrain test.
inline int sprite_centre_tile(int origin, int scroll, int p) {
    return pixel_to_tile(origin, scroll, p + TILE_SIZE / 2);
}
// Tile t to the play-field pixel of its top-left corner: spawning, drawing.
inline int tile_to_pixel(int origin, int scroll, int t) { return (t - origin) * TILE_SIZE - scroll; }

// --- Named terrain codes ------------------------------------------------------

constexpr int CODE_BOUNDARY = 0;
constexpr int CODE_CRACKED = 11;
constexpr int CODE_GHOST_WALL_A = 24;
constexpr int CODE_GHOST_WALL_B = 25;
constexpr int CODE_GATE_A = 26; // closed gates; a switch opens them to 56, 57
constexpr int CODE_GATE_B = 27;
constexpr int CODE_SWITCH = 28;
constexpr int CODE_WALL = 30;
constexpr int CODE_WALKABLE = 52; // lowest code the player walks on
constexpr int CODE_DARK_A = 53;
constexpr int CODE_DARK_B = 54;
constexpr int CODE_OPEN_GATE_A = 56;
constexpr int CODE_OPEN_GATE_B = 57;
constexpr int CODE_BLASTED = 68;
constexpr int CODE_FLOOR = 72;
constexpr int CODE_EXIT = 74;
constexpr int CODE_FIRST_PLAIN_FLOOR_ART = 85; // from here the game draws codes as 72
constexpr int CODE_OUTSIDE = -1;               // what a read outside a layer gives

// --- The table ------------------------------------------------------------------

struct TerrainRule {
    bool bounds_room;     // 0, 74: the room scans stop on it
    bool exit;            // 74: the player leaves the room through it
    bool blocks_player;   // below 52 (and outside the layer)
    bool ghost_passes;    // 24, 25: the player passes while ghost walking
    bool blocks_monsters; // 52 and below (and outside the layer)
    bool stops_shots;     // below 52 (and outside the layer)
    bool is_switch;       // 28: a shot stopped on it toggles the room's gates
    bool takes_objects;   // above 52: an object lying on it can be taken
    bool dark;            // 53, 54: a view that draws it is presented dark
    int blasts_to;        // 11: what a bomb's blast makes of it (68); -1 none
    int toggles_to;       // a gate's other state (26 <-> 56, 27 <-> 57); -1 none
    int game_art;         // the code whose art play draws it with (85 and up: 72)
    int editor_dot;       // colour of the editors' centre dot (73 at 52 and up, 0 on 0); -1 none
};

constexpr TerrainRule make_terrain_rule(int code) {
    bool outside = code < 0;
    bool gate_closed = code == CODE_GATE_A || code == CODE_GATE_B;
    bool gate_open = code == CODE_OPEN_GATE_A || code == CODE_OPEN_GATE_B;
    TerrainRule r = {};
    r.bounds_room = code == CODE_BOUNDARY || code == CODE_EXIT;
    r.exit = code == CODE_EXIT;
    r.blocks_player = outside || code < CODE_WALKABLE;
    r.ghost_passes = code == CODE_GHOST_WALL_A || code == CODE_GHOST_WALL_B;
    r.blocks_monsters = outside || code <= CODE_WALKABLE;
    r.stops_shots = outside || code < CODE_WALKABLE;
    r.is_switch = code == CODE_SWITCH;
    r.takes_objects = code > CODE_WALKABLE;
    r.dark = code == CODE_DARK_A || code == CODE_DARK_B;
    r.blasts_to = code == CODE_CRACKED ? CODE_BLASTED : -1;
    r.toggles_to = gate_closed ? code + 30 : gate_open ? code - 30 : -1;
    r.game_art = outside ? CODE_BOUNDARY : code >= CODE_FIRST_PLAIN_FLOOR_ART ? CODE_FLOOR : code;
    r.editor_dot = code >= CODE_WALKABLE ? 73 : code == CODE_BOUNDARY ? 0 : -1;
    return r;
}

// The row of a code as read from a layer: 0..255, or -1 outside the layer,
// which is solid for everything.
const TerrainRule &terrain_rule(int code);

// An object on this code can be taken now, or once a bomb or a switch has
// opened it (a cracked wall, a closed gate).
inline bool takes_objects_once_opened(int code) {
    const TerrainRule &r = terrain_rule(code);
    return r.takes_objects || (r.blasts_to >= 0 && terrain_rule(r.blasts_to).takes_objects) ||
           (r.toggles_to >= 0 && r.blocks_player && terrain_rule(r.toggles_to).takes_objects);
}
