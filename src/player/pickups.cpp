// pickups.cpp -- the player's probe and the effects of the objects taken
#include "player.h"
#include "map.h"
#include "assets.h"
#include <allegro.h>

// What taking an object does: add to a counter, raise a flag, or end the game.
enum EffectKind { EFFECT_ADD, EFFECT_FLAG, EFFECT_END_GAME };

struct ObjectEffect {
    int code;         // object code in the object layer
    EffectKind kind;
    int *target;      // the counter or flag changed (none for the goal)
    int amount;       // added to a counter
};

// Every object with an effect; any other code is only removed (with the sound).
static const ObjectEffect object_effects[] = {
    {1, EFFECT_ADD, &score, 50},
    {OBJECT_GOAL, EFFECT_END_GAME, nullptr, 0},
    {5, EFFECT_FLAG, &has_lamp, 0},
    {8, EFFECT_ADD, &player_hp, 1000},
    {10, EFFECT_ADD, &score, 100},
    {11, EFFECT_FLAG, &has_ghost, 0},
    {12, EFFECT_ADD, &bombs, 5},
    {13, EFFECT_ADD, &score, 1000},
    {14, EFFECT_ADD, &score, 200},
};

static void apply_object_effect(int code) {
    for (const ObjectEffect &e : object_effects) {
        if (e.code != code)
            continue;
        switch (e.kind) {
        case EFFECT_ADD: *e.target += e.amount; break;
        case EFFECT_FLAG: *e.target = 1; break;
        case EFFECT_END_GAME: game_over = 1; break;
        }
        return;
    }
}

int probe_point(int x, int y) {
    // Colour 0 (and anything outside the back buffer) is open ground.
    if (!back_buffer || getpixel(back_buffer, x, y) < 1)
        return CODE_WALKABLE;
    int tx = pixel_to_tile(view_tx, scroll_px, x);
    int ty = pixel_to_tile(view_ty, scroll_py, y);
    int object = layer_code(object_layer, tx, ty);
    if (object > 0 && terrain_rule(terrain_at(tx, ty)).takes_objects) {
        putpixel(object_layer, tx, ty, 0);
        play_effect(PICKUP_SOUND);
        apply_object_effect(object);
    }
    return terrain_at(tx, ty);
}

bool object_can_be_taken(BITMAP *terrain, int tx, int ty) {
    return takes_objects_once_opened(layer_code(terrain, tx, ty));
}
