// monster_table.cpp -- the monster table, spawning and drawing
#include "monsters.h"
#include "assets.h"
#include "map.h"

Monster monsters[MAX_MONSTERS]; // the monsters of the current room, in spawn order
int monster_count;              // records filled by the last spawn, 0..100

void monster_kind_size(int kind, int *width, int *height) {
    const MonsterKind *k = monster_kind(kind);
    *width = k ? k->width : 30;
    *height = k ? k->height : 20;
}

bool monster_starts_in_wall(BITMAP *terrain, int kind, int tx, int ty, int *wall_x, int *wall_y, int *code) {
    int w, h;
    monster_kind_size(kind, &w, &h);
    for (int y = ty; y <= ty + (h - 1) / TILE_SIZE; y++)
        for (int x = tx; x <= tx + (w - 1) / TILE_SIZE; x++) {
            int c = layer_code(terrain, x, y);
            if (!terrain_rule(c).blocks_monsters)
                continue;
            *wall_x = x;
            *wall_y = y;
            *code = c;
            return true;
        }
    return false;
}

// Fills the next free record with a monster of `kind` at tile (tx, ty).
static void add_monster(int kind, int tx, int ty) {
    const MonsterKind &k = MONSTER_KINDS[kind];
    Monster &m = monsters[monster_count];
    m.status = MONSTER_ALIVE;
    m.x = tile_to_pixel(view_tx, scroll_px, tx);
    m.y = tile_to_pixel(view_ty, scroll_py, ty);
    m.patrol_h = k.move == MOVE_PATROL_HORIZONTAL; // 1: starts left
    m.patrol_v = k.move == MOVE_PATROL_VERTICAL;   // 1: starts up
    m.width = k.width;
    m.height = k.height;
    m.kind = kind;
    m.hp = k.hp;
    monster_count++;
}

void spawn_monsters() {
    monster_count = 0;
    for (Monster &m : monsters)
        m = Monster{MONSTER_DEAD, 0, 0, 0, 0, 0, 0, 0, 0};
    // Column by column from the left border, top to bottom within a column;
    // the right border column and the bottom border row belong to the next room.
    for (int tx = room_left; tx < room_right; tx++)
        for (int ty = room_top; ty < room_bottom; ty++) {
            int v = getpixel(monster_layer, tx, ty);
            // Values above the last kind have no art and are left out; a
            // 101st marker is dropped, but the scan runs on to the end.
            if (monster_kind(v) && monster_count < MAX_MONSTERS)
                add_monster(v, tx, ty);
        }
}

void draw_monsters() {
    for (int i = 0; i < monster_count; i++) {
        const Monster &m = monsters[i];
        if (m.status != MONSTER_ALIVE)
            continue;
        // The window allows for the largest sprite, 82 x 130, reaching in
        // from the left or the top.
        if (m.x > -80 && m.x < 240 && m.y > -130 && m.y < 240)
            draw_rle_sprite(back_buffer, monster_sprite(m.kind), m.x, m.y);
    }
}
