// shots.cpp -- firing, flying, hitting and drawing shots
#include "weapons.h"
#include "assets.h"
#include "map.h"
#include "monsters.h"
#include "player.h"

Shot shots[MAX_SHOTS]; // every shot slot; a free slot has state SHOT_FREE

constexpr int SHOT_SPEED = 16;  // pixels a flying shot covers in a frame
constexpr int SHOT_DAMAGE = 4;  // hit points a shot takes from a monster
constexpr int FIELD_LIMIT = 240; // a shot at 0..240 on both axes is still in play

void clear_shots() {
    for (Shot &s : shots)
        s = Shot{0, 0, 0, SHOT_FREE};
}

void fire_shot() {
    for (Shot &s : shots) {
        if (s.state != SHOT_FREE)
            continue;
        // Start offsets put the shot at the muzzle for each facing.
        s.x = player_x;
        s.y = player_y;
        if (player_dir == DIR_LEFT) {
            s.x += 6;
            s.y += 10;
        } else if (player_dir == DIR_RIGHT) {
            s.x += 2;
            s.y += 10;
        } else if (player_dir == DIR_UP) {
            s.x += 8;
            s.y += 13;
        } else if (player_dir == DIR_DOWN) {
            s.x -= 1;
            s.y += 3;
        }
        s.dir = player_dir;
        s.state = SHOT_FLYING;
        return;
    }
}

// Moves a shot one pixel along its direction.
static void step_shot(Shot &s) {
    s.x += direction_rule(s.dir).dx;
    s.y += direction_rule(s.dir).dy;
}

// Alive and of a kind shots stop on (they pass through the patrollers).
static bool shootable(const Monster &m) {
    return m.status == MONSTER_ALIVE && monster_can_be_shot(m.kind);
}

// Hurts the first shootable monster whose box strictly contains the shot's
// corner; true when one was hit.
static bool hit_monster(Shot &s) {
    for (int j = 0; j < monster_count && j < MAX_MONSTERS; j++) {
        Monster &m = monsters[j];
        if (!shootable(m))
            continue;
        if (s.x > m.x && s.x < m.x + m.width && s.y > m.y && s.y < m.y + m.height) {
            s.state = SHOT_IMPACT;
            m.hp -= SHOT_DAMAGE;
            if (m.hp <= 0)
                m.status = MONSTER_DEAD;
            return true;
        }
    }
    return false;
}

// Stops the shot on terrain that stops shots under its centre; a switch
// toggles the gates.
static bool hit_terrain(Shot &s) {
    const TerrainRule &rule =
        terrain_rule(terrain_at(sprite_centre_tile(view_tx, scroll_px, s.x), sprite_centre_tile(view_ty, scroll_py, s.y)));
    if (!rule.stops_shots)
        return false;
    s.state = SHOT_IMPACT;
    if (rule.is_switch)
        toggle_gates();
    return true;
}

// One pixel of flight with its three tests. All tests run even when an
// earlier one ended the flight: a shot leaving the field into a wall still
// ends as an impact. True when the flight is over.
static bool shot_substep(Shot &s) {
    step_shot(s);
    bool ended = false;
    if (s.x < 0 || s.y < 0 || s.x > FIELD_LIMIT || s.y > FIELD_LIMIT) {
        s.state = SHOT_FREE;
        ended = true;
    }
    if (hit_monster(s))
        ended = true;
    if (hit_terrain(s))
        ended = true;
    return ended;
}

void update_shots() {
    for (Shot &s : shots) {
        if (s.state != SHOT_FLYING)
            continue;
        for (int i = 0; i < SHOT_SPEED; i++)
            if (shot_substep(s))
                break;
    }
}

static bool drawn_in_field(const Shot &s) {
    return s.x >= 0 && s.x < FIELD_LIMIT && s.y >= 0 && s.y < FIELD_LIMIT;
}

void draw_shots() {
    for (Shot &s : shots) {
        if (s.state == SHOT_FLYING && drawn_in_field(s))
            draw_rle_sprite(back_buffer, effect_sprite(SHOT_SPRITE), s.x, s.y);
        if (s.state == SHOT_IMPACT) {
            // An impact shows for this one frame, then the slot is free.
            s.state = SHOT_FREE;
            if (drawn_in_field(s))
                draw_rle_sprite(back_buffer, effect_sprite(EXPLOSION_ART), s.x, s.y);
        }
    }
}
