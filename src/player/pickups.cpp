// pickups.cpp -- the player's probe and the effects of the objects taken
#include "player.h"
#include "map.h"
#include "assets.h"
#include <allegro.h>

static void apply_object_effect(int code) {
    const ObjectKind *k = object_kind(code);
    switch (k ? k->effect : EFFECT_NONE) {
    case EFFECT_NONE: break;
    case EFFECT_SCORE: score += k->amount; break;
    case EFFECT_HIT_POINTS: player_hp += k->amount; break;
    case EFFECT_BOMBS: bombs += k->amount; break;
    case EFFECT_LAMP: has_lamp = 1; break;
    case EFFECT_CLOAK: has_ghost = 1; break;
    case EFFECT_GOAL: game_over = 1; break;
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
