// bomb.cpp -- dropping the bomb, its fuse, explosion and blast
#include "weapons.h"
#include "assets.h"
#include "map.h"
#include "player.h"

int bomb_x, bomb_y; // play-field pixel of the bomb sprite's top-left
int bomb_state = BOMB_IDLE; // 1 lit, 2 idle
int bomb_timer;     // frames of fuse left

void reset_bomb() {
    bomb_x = 0;
    bomb_y = 0;
    bomb_state = BOMB_IDLE;
    bomb_timer = 0;
}

void drop_bomb() {
    // Holding Space while a bomb burns neither drops nor queues another.
    if (bombs <= 0 || bomb_state != BOMB_IDLE)
        return;
    bombs--;
    bomb_x = player_x + 4;
    bomb_y = player_y + 16;
    bomb_state = BOMB_LIT;
    bomb_timer = BOMB_FUSE;
}

// Turns every cracked wall in the 3x3 block round the tile under the bomb's
// centre into blasted floor; nothing else is touched.
static void blast() {
    int cx = sprite_centre_tile(view_tx, scroll_px, bomb_x);
    int cy = sprite_centre_tile(view_ty, scroll_py, bomb_y);
    for (int x = cx - 1; x <= cx + 1; x++)
        for (int y = cy - 1; y <= cy + 1; y++) {
            int becomes = terrain_rule(terrain_at(x, y)).blasts_to;
            if (becomes >= 0)
                putpixel(terrain_layer, x, y, becomes);
        }
}

void update_bomb() {
    if (bomb_state != BOMB_LIT)
        return;
    draw_rle_sprite(back_buffer, effect_sprite(BOMB_SPRITE), bomb_x, bomb_y);
    bomb_timer--;
    // The last three frames of the fuse show the explosion over the bomb.
    if (bomb_timer == 3) {
        play_effect(EXPLOSION_SOUND);
        draw_rle_sprite(back_buffer, effect_sprite(EXPLOSION_ART), bomb_x, bomb_y);
    }
    if (bomb_timer == 2)
        draw_rle_sprite(back_buffer, effect_sprite(EXPLOSION_ART + 1), bomb_x, bomb_y);
    if (bomb_timer == 1)
        draw_rle_sprite(back_buffer, effect_sprite(EXPLOSION_ART + 2), bomb_x, bomb_y);
    if (bomb_timer <= 0) {
        bomb_state = BOMB_IDLE;
        blast();
    }
}
