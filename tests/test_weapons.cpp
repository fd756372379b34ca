// test_weapons.cpp -- shots, the bomb's fuse and blast, and the gate switch
#include <gtest/gtest.h>
#include "test_support.h"
#include "assets.h"
#include "layers.h"
#include "monsters.h"
#include "player.h"
#include "shell.h"
#include "view.h"
#include "weapons.h"

namespace {

// A world of open floor round the start view (66, 151), inside a room
// [40, 120] x [140, 180] that is wide enough to scroll.
void open_world() {
    make_world(160, 200, CODE_FLOOR);
    make_room(40, 140, 120, 180, CODE_FLOOR);
    find_room_bounds(view_tx + 8, view_ty + 8);
}

// Puts a flying shot straight into slot i.
void place_shot(int i, int x, int y, int dir) {
    shots[i] = Shot{x, y, dir, SHOT_FLYING};
}

// Makes monster slot i alive with the values a spawn gives that kind.
void place_monster(int i, int kind, int x, int y) {
    Monster m{1, x, y, 0, 0, 30, 20, kind, 40};
    if (kind == 1) {
        m.width = 82;
        m.height = 130;
        m.hp = 500;
    }
    if (kind == 13) {
        m.patrol_v = 1;
        m.hp = 0;
    }
    if (kind == 14) {
        m.patrol_h = 1;
        m.hp = 0;
    }
    monsters[i] = m;
    if (monster_count < i + 1)
        monster_count = i + 1;
}

int flying_shots() {
    int n = 0;
    for (const Shot &s : shots)
        n += s.state == SHOT_FLYING;
    return n;
}

} // namespace

TEST(WeaponsShots, ShotStartsAtTheMuzzleAndFliesSixteenPixelsAFrame) {
    open_world();
    player_x = 100;
    player_y = 100;
    // facing, start x, start y, x and y after one frame
    const int expected[4][5] = {{DIR_RIGHT, 102, 110, 118, 110}, {DIR_DOWN, 99, 103, 99, 119},
                                {DIR_LEFT, 106, 110, 90, 110}, {DIR_UP, 108, 113, 108, 97}};
    for (int i = 0; i < 4; i++) {
        player_dir = expected[i][0];
        fire_shot();
        EXPECT_EQ(shots[i].x, expected[i][1]) << "facing " << expected[i][0];
        EXPECT_EQ(shots[i].y, expected[i][2]) << "facing " << expected[i][0];
        EXPECT_EQ(shots[i].dir, expected[i][0]);
    }
    update_shots();
    for (int i = 0; i < 4; i++) {
        EXPECT_EQ(shots[i].x, expected[i][3]) << "facing " << expected[i][0];
        EXPECT_EQ(shots[i].y, expected[i][4]) << "facing " << expected[i][0];
        EXPECT_EQ(shots[i].state, SHOT_FLYING);
    }
}

TEST(WeaponsShots, ShotAt240StillFliesAnd241IsFreedAfterTheFrame) {
    open_world();
    place_shot(0, 224, 100, DIR_RIGHT);
    place_shot(1, 100, 16, DIR_UP);
    update_shots();
    EXPECT_EQ(shots[0].x, 240);
    EXPECT_EQ(shots[0].state, SHOT_FLYING);
    EXPECT_EQ(shots[1].y, 0);
    EXPECT_EQ(shots[1].state, SHOT_FLYING);

    // Flying at x = 240 but not drawn; at y = 0 drawn.
    clear_bitmap(back_buffer);
    draw_shots();
    EXPECT_NE(getpixel(back_buffer, 245, 105), SHOT_COLOUR);
    EXPECT_EQ(getpixel(back_buffer, 105, 5), SHOT_COLOUR);

    // One more pixel leaves the field: the slot is free at once over open floor.
    update_shots();
    EXPECT_EQ(shots[0].x, 241);
    EXPECT_EQ(shots[0].state, SHOT_FREE);
    EXPECT_EQ(shots[1].y, -1);
    EXPECT_EQ(shots[1].state, SHOT_FREE);

    // Leaving the field onto a wall ends as an unseen impact, free after drawing.
    place_shot(0, 224, 100, DIR_RIGHT);
    update_shots();
    putpixel(terrain_layer, view_tx + 15, view_ty + 6, 30); // under (249, 109)
    update_shots();
    EXPECT_EQ(shots[0].x, 241);
    EXPECT_EQ(shots[0].state, SHOT_IMPACT);
    clear_bitmap(back_buffer);
    draw_shots();
    EXPECT_EQ(shots[0].state, SHOT_FREE);
    EXPECT_NE(getpixel(back_buffer, 245, 105), EXPLOSION_COLOUR_BASE);

    // Leaving the field into a monster's box still hurts the monster.
    putpixel(terrain_layer, view_tx + 15, view_ty + 6, CODE_FLOOR);
    place_monster(0, 3, 240, 90);
    place_shot(0, 224, 100, DIR_RIGHT);
    update_shots();
    EXPECT_EQ(shots[0].x, 240);
    EXPECT_EQ(monsters[0].hp, 40);
    update_shots();
    EXPECT_EQ(shots[0].x, 241);
    EXPECT_EQ(shots[0].state, SHOT_IMPACT);
    EXPECT_EQ(monsters[0].hp, 36);
}

TEST(WeaponsShots, MonsterEdgesAreStrict) {
    open_world();
    // Box 120..149 x 100..119. Each shot ends its first frame on an edge
    // (no hit) and hits one pixel further in.
    struct Case { int x, y, dir, edge_x, edge_y; };
    const Case cases[] = {{104, 101, DIR_RIGHT, 120, 101}, {130, 84, DIR_DOWN, 130, 100},
                          {166, 110, DIR_LEFT, 150, 110}, {130, 136, DIR_UP, 130, 120}};
    for (const Case &c : cases) {
        place_monster(0, 2, 120, 100);
        place_shot(0, c.x, c.y, c.dir);
        update_shots();
        EXPECT_EQ(shots[0].x, c.edge_x);
        EXPECT_EQ(shots[0].y, c.edge_y);
        EXPECT_EQ(shots[0].state, SHOT_FLYING) << "edge " << c.edge_x << "," << c.edge_y;
        update_shots();
        EXPECT_EQ(shots[0].state, SHOT_IMPACT) << "edge " << c.edge_x << "," << c.edge_y;
        EXPECT_EQ(monsters[0].hp, 36);
    }
    // A corner running along the top edge row passes.
    place_monster(0, 2, 120, 100);
    place_shot(0, 104, 100, DIR_RIGHT);
    update_shots();
    update_shots();
    EXPECT_EQ(shots[0].state, SHOT_FLYING);
    EXPECT_EQ(monsters[0].hp, 40);
}

TEST(WeaponsShots, PatrollersAndDeadMonstersLetShotsThrough) {
    open_world();
    place_monster(0, 13, 120, 100);
    place_monster(1, 14, 120, 100);
    place_monster(2, 5, 120, 100);
    monsters[2].status = 2;
    place_shot(0, 110, 105, DIR_RIGHT);
    update_shots();
    update_shots();
    EXPECT_EQ(shots[0].state, SHOT_FLYING);
    EXPECT_EQ(shots[0].x, 142);
    EXPECT_EQ(monsters[0].status, 1);
    EXPECT_EQ(monsters[1].status, 1);
    EXPECT_EQ(monsters[0].hp, 0);
    EXPECT_EQ(monsters[2].hp, 40);

    // Where two shootable boxes hold the point, only the lower index is hurt.
    shots[0].state = SHOT_FREE;
    place_monster(3, 4, 120, 100);
    place_monster(4, 6, 120, 100);
    place_shot(1, 110, 105, DIR_RIGHT);
    update_shots();
    EXPECT_EQ(shots[1].state, SHOT_IMPACT);
    EXPECT_EQ(monsters[3].hp, 36);
    EXPECT_EQ(monsters[4].hp, 40);
}

TEST(WeaponsShots, ChasersDieAtTheTenthHitAndTheGiantAtThe125th) {
    open_world();
    const int kinds[] = {1, 2, 7, 12};
    for (int kind : kinds) {
        place_monster(0, kind, 120, 100);
        int hits_to_kill = kind == 1 ? 125 : 10;
        for (int hit = 1; hit <= hits_to_kill; hit++) {
            place_shot(0, 120, 110, DIR_RIGHT);
            update_shots();
            ASSERT_EQ(shots[0].state, SHOT_IMPACT) << "kind " << kind << " hit " << hit;
            draw_shots();
            int alive = hit < hits_to_kill ? 1 : 2;
            ASSERT_EQ(monsters[0].status, alive) << "kind " << kind << " hit " << hit;
        }
        EXPECT_EQ(monsters[0].hp, 0);
        // The dead monster no longer stops shots.
        place_shot(0, 120, 110, DIR_RIGHT);
        update_shots();
        EXPECT_EQ(shots[0].state, SHOT_FLYING) << "kind " << kind;
        EXPECT_EQ(monsters[0].hp, 0);
    }
}

TEST(WeaponsShots, Code52LetsShotsPassAnd51StopsThem) {
    open_world();
    int row = view_ty + 6;
    putpixel(terrain_layer, view_tx + 8, row, CODE_WALKABLE); // px 128..143
    putpixel(terrain_layer, view_tx + 10, row, 51);           // px 160..175
    place_shot(0, 110, 100, DIR_RIGHT);
    update_shots();
    EXPECT_EQ(shots[0].state, SHOT_FLYING);
    EXPECT_EQ(shots[0].x, 126);
    update_shots();
    EXPECT_EQ(shots[0].state, SHOT_FLYING);
    EXPECT_EQ(shots[0].x, 142);
    // Stops where its centre (x + 8) first enters the wall tile.
    update_shots();
    EXPECT_EQ(shots[0].state, SHOT_IMPACT);
    EXPECT_EQ(shots[0].x, 152);
    EXPECT_EQ(terrain_at(view_tx + 10, row), 51);

    // The impact shows for one frame where the shot stopped, then the slot is reused.
    clear_bitmap(back_buffer);
    draw_shots();
    EXPECT_EQ(getpixel(back_buffer, 152, 100), EXPLOSION_COLOUR_BASE);
    EXPECT_EQ(getpixel(back_buffer, 167, 115), EXPLOSION_COLOUR_BASE);
    EXPECT_EQ(shots[0].state, SHOT_FREE);
    clear_bitmap(back_buffer);
    draw_shots();
    EXPECT_EQ(getpixel(back_buffer, 152, 100), 0);
    player_dir = DIR_UP;
    fire_shot();
    EXPECT_EQ(shots[0].state, SHOT_FLYING);
    EXPECT_EQ(shots[0].dir, DIR_UP);

    // Outside the layer the code reads -1 and stops shots too.
    make_world(70, 160, CODE_FLOOR);
    place_shot(0, 40, 100, DIR_RIGHT);
    update_shots();
    EXPECT_EQ(shots[0].state, SHOT_IMPACT);
    EXPECT_EQ(view_tx + ((shots[0].x + 8) >> 4), 70);
}

TEST(WeaponsShots, ShotOnSwitchTogglesGatesOnceInARoomWithoutMonsters) {
    open_world();
    ASSERT_EQ(monster_count, 0);
    int row = view_ty + 6;
    putpixel(terrain_layer, view_tx + 10, row, CODE_SWITCH);
    putpixel(terrain_layer, 50, 150, 26);
    putpixel(terrain_layer, 51, 150, 57);
    place_shot(0, 140, 100, DIR_RIGHT);
    update_shots();
    EXPECT_EQ(shots[0].state, SHOT_IMPACT);
    EXPECT_EQ(shots[0].x, 152);
    EXPECT_EQ(terrain_at(50, 150), 56);
    EXPECT_EQ(terrain_at(51, 150), 27);
    EXPECT_EQ(terrain_at(view_tx + 10, row), CODE_SWITCH);
    // A second shot at the switch closes them again.
    draw_shots();
    place_shot(0, 140, 100, DIR_RIGHT);
    update_shots();
    EXPECT_EQ(terrain_at(50, 150), 26);
    EXPECT_EQ(terrain_at(51, 150), 57);
}

TEST(WeaponsShots, FullTableFiresNothing) {
    open_world();
    for (int i = 0; i < MAX_SHOTS; i++)
        place_shot(i, i % 200, 7, DIR_DOWN);
    player_x = 100;
    player_y = 100;
    player_dir = DIR_RIGHT;
    fire_shot();
    for (int i = 0; i < MAX_SHOTS; i++) {
        ASSERT_EQ(shots[i].x, i % 200);
        ASSERT_EQ(shots[i].dir, DIR_DOWN);
    }
    // Once one slot frees, the next fire takes exactly that one.
    shots[617].state = SHOT_FREE;
    fire_shot();
    EXPECT_EQ(shots[617].x, 102);
    EXPECT_EQ(flying_shots(), MAX_SHOTS);

    clear_shots();
    for (const Shot &s : shots) {
        ASSERT_EQ(s.state, SHOT_FREE);
        ASSERT_EQ(s.x, 0);
    }
}

TEST(WeaponsShots, AltHeldFiresOncePerFrameSpacedSixteenApart) {
    open_world();
    player_x = 100;
    player_y = 100;
    player_dir = DIR_UP;
    key[KEY_ALT] = 1;
    for (int frame = 0; frame < 3; frame++) {
        update_shots();
        frame_input();
    }
    release_all_input();
    ASSERT_EQ(flying_shots(), 3);
    EXPECT_EQ(shots[0].y, shots[1].y - 16);
    EXPECT_EQ(shots[1].y, shots[2].y - 16);
    EXPECT_EQ(shots[2].x, player_x + 8);
}

TEST(WeaponsBomb, SpaceDropsAtTheFeetAfterThisFramesMove) {
    open_world();
    clear_bitmap(back_buffer); // a black back buffer reads as open floor
    player_x = 100;
    player_y = 100;
    bombs = 2;
    key[KEY_RIGHT] = 1;
    key[KEY_SPACE] = 1;
    frame_input();
    release_all_input();
    EXPECT_GT(player_x, 100);
    EXPECT_EQ(bomb_state, BOMB_LIT);
    EXPECT_EQ(bomb_x, player_x + 4);
    EXPECT_EQ(bomb_y, player_y + 16);
    EXPECT_EQ(bombs, 1);
}

TEST(WeaponsBomb, DropNeedsABombAndNoneBurning) {
    open_world();
    player_x = 100;
    player_y = 90;
    bombs = 0;
    drop_bomb();
    EXPECT_EQ(bomb_state, BOMB_IDLE);
    EXPECT_EQ(bombs, 0);

    bombs = 2;
    drop_bomb();
    EXPECT_EQ(bomb_state, BOMB_LIT);
    EXPECT_EQ(bomb_timer, 25);
    EXPECT_EQ(bomb_x, 104);
    EXPECT_EQ(bomb_y, 106);
    EXPECT_EQ(bombs, 1);

    // While lit, Space neither drops nor restarts the fuse.
    update_bomb();
    player_x = 10;
    drop_bomb();
    EXPECT_EQ(bombs, 1);
    EXPECT_EQ(bomb_timer, 24);
    EXPECT_EQ(bomb_x, 104);

    reset_bomb();
    EXPECT_EQ(bomb_state, BOMB_IDLE);
    EXPECT_EQ(bomb_x, 0);
    EXPECT_EQ(bomb_y, 0);
    EXPECT_EQ(bomb_timer, 0);
}

TEST(WeaponsBomb, FuseBurnsTwentyFiveFramesWithTheSoundAtThree) {
    open_world();
    player_x = 100;
    player_y = 90;
    bombs = 1;
    drop_bomb();
    int cx = view_tx + ((bomb_x + 8) >> 4), cy = view_ty + ((bomb_y + 8) >> 4);
    putpixel(terrain_layer, cx, cy, CODE_CRACKED);
    for (int frame = 1; frame <= 26; frame++) {
        clear_bitmap(back_buffer);
        update_bomb();
        int want = BOMB_COLOUR;
        if (frame >= 22 && frame <= 24)
            want = EXPLOSION_COLOUR_BASE + frame - 22;
        if (frame == 26)
            want = 0;
        EXPECT_EQ(getpixel(back_buffer, bomb_x + 8, bomb_y + 8), want) << "frame " << frame;
        EXPECT_EQ(samples_played(EXPLOSION_SOUND), frame >= 22 ? 1 : 0) << "frame " << frame;
        EXPECT_EQ(bomb_state, frame < 25 ? BOMB_LIT : BOMB_IDLE) << "frame " << frame;
        EXPECT_EQ(terrain_at(cx, cy), frame < 25 ? CODE_CRACKED : CODE_BLASTED) << "frame " << frame;
    }
    EXPECT_EQ(bomb_timer, 0);
}

TEST(WeaponsBomb, BlastOpensOnlyCrackedWallsInTheThreeByThree) {
    open_world();
    int cx = view_tx + 6, cy = view_ty + 5;
    // A 5x5 block of cracked wall, with other codes inside the 3x3.
    for (int x = cx - 2; x <= cx + 2; x++)
        for (int y = cy - 2; y <= cy + 2; y++)
            putpixel(terrain_layer, x, y, CODE_CRACKED);
    putpixel(terrain_layer, cx - 1, cy, 30);
    putpixel(terrain_layer, cx + 1, cy + 1, 26);
    putpixel(terrain_layer, cx, cy - 1, 12);
    putpixel(object_layer, cx, cy, 4);
    // The bomb's corner 7 px left and 8 px above the centre tile's: its
    // centre point (+8, +8) falls into tile (cx, cy).
    bomb_state = BOMB_LIT;
    bomb_timer = 1;
    bomb_x = tile_px(cx) - 7;
    bomb_y = tile_py(cy) - 8;
    update_bomb();
    for (int x = cx - 2; x <= cx + 2; x++)
        for (int y = cy - 2; y <= cy + 2; y++) {
            bool inner = x >= cx - 1 && x <= cx + 1 && y >= cy - 1 && y <= cy + 1;
            int want = inner ? CODE_BLASTED : CODE_CRACKED;
            if (x == cx - 1 && y == cy)
                want = 30;
            if (x == cx + 1 && y == cy + 1)
                want = 26;
            if (x == cx && y == cy - 1)
                want = 12;
            EXPECT_EQ(terrain_at(x, y), want) << "tile " << x - cx << "," << y - cy;
        }
    EXPECT_EQ(getpixel(object_layer, cx, cy), 4);

    // A bomb left of the field: the arithmetic shift takes the tile left of the view.
    putpixel(terrain_layer, view_tx - 1, view_ty + 1, CODE_CRACKED);
    bomb_state = BOMB_LIT;
    bomb_timer = 1;
    bomb_x = -9; // centre at x = -1
    bomb_y = 16;
    update_bomb();
    EXPECT_EQ(terrain_at(view_tx - 1, view_ty + 1), CODE_BLASTED);
}

TEST(WeaponsBomb, BombDroppedWhileScrollingBlastsWhereItWasDropped) {
    open_world();
    // Cracked walls round the tile the bomb is dropped on, and round the tile
    // that lies under the bomb's first screen position when it goes off.
    player_x = 148;
    player_y = 100;
    bombs = 1;
    drop_bomb();
    int drop_tx = view_tx + ((bomb_x + 8) >> 4), drop_ty = view_ty + ((bomb_y + 8) >> 4);
    const int frames_scrolled = 25, px_per_frame = 3;
    int later_tx = drop_tx + (frames_scrolled * px_per_frame) / 16;
    putpixel(terrain_layer, drop_tx, drop_ty + 1, CODE_CRACKED);
    putpixel(terrain_layer, later_tx, drop_ty + 1, CODE_CRACKED);
    int first_x = bomb_x;
    for (int frame = 1; frame <= frames_scrolled; frame++) {
        player_x = 148 + px_per_frame; // walking right past the scroll edge
        draw_view(0);
        update_bomb();
    }
    EXPECT_EQ(bomb_state, BOMB_IDLE);
    EXPECT_EQ(bomb_x, first_x - frames_scrolled * px_per_frame);
    EXPECT_EQ(terrain_at(drop_tx, drop_ty + 1), CODE_BLASTED);
    EXPECT_EQ(terrain_at(later_tx, drop_ty + 1), CODE_CRACKED);
}

TEST(WeaponsBomb, RoomChangeWhileLitPutsTheBombOut) {
    open_world();
    player_x = 100;
    player_y = 90;
    bombs = 3;
    drop_bomb();
    int cx = view_tx + ((bomb_x + 8) >> 4), cy = view_ty + ((bomb_y + 8) >> 4);
    putpixel(terrain_layer, cx, cy, CODE_CRACKED);
    for (int frame = 0; frame < 10; frame++)
        update_bomb();
    room_change_step(DIR_RIGHT);
    EXPECT_EQ(bomb_state, BOMB_IDLE);
    for (int frame = 0; frame < 30; frame++)
        update_bomb();
    EXPECT_EQ(samples_played(EXPLOSION_SOUND), 0);
    EXPECT_EQ(terrain_at(cx, cy), CODE_CRACKED);
    EXPECT_EQ(bombs, 2);
}

TEST(WeaponsGates, SwitchTwiceRestoresEveryGateOfTheRoom) {
    open_world();
    ASSERT_EQ(room_left, 40);
    ASSERT_EQ(room_bottom, 180);
    // Gates of both states, on the floor and on the boundary lines; one outside.
    struct Tile { int x, y, code; };
    const Tile gates[] = {{45, 150, 26}, {46, 150, 27}, {47, 150, 56}, {48, 150, 57},
                          {40, 160, 26}, {120, 170, 57}, {70, 140, 27}, {70, 180, 56}};
    for (const Tile &g : gates)
        putpixel(terrain_layer, g.x, g.y, g.code);
    putpixel(terrain_layer, 130, 150, 26);
    putpixel(terrain_layer, 49, 150, 28);

    toggle_gates();
    for (const Tile &g : gates) {
        int opened = g.code < 52 ? g.code + 30 : g.code - 30;
        EXPECT_EQ(terrain_at(g.x, g.y), opened) << g.x << "," << g.y;
    }
    EXPECT_EQ(terrain_at(130, 150), 26);
    EXPECT_EQ(terrain_at(49, 150), 28);
    EXPECT_EQ(terrain_at(44, 150), CODE_FLOOR);

    toggle_gates();
    for (const Tile &g : gates)
        EXPECT_EQ(terrain_at(g.x, g.y), g.code) << g.x << "," << g.y;
}
