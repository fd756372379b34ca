// art_tiles.cpp -- the 75 terrain tiles (tiles.pcx: 15 x 5 cells of 16x16, code t at cell t)
#include "art.h"

// Every pixel of a terrain tile must be non-zero: colour 0 in the back buffer
// reads as walkable floor to the player's probe.
static void put(BITMAP *t, int x, int y, int c) {
    putpixel(t, x, y, c == 0 ? INK : c);
}

static void fill_noise(BITMAP *t, int ramp, int s, int spread) {
    for (int y = 0; y < 16; y++)
        for (int x = 0; x < 16; x++)
            put(t, x, y, shade(ramp, s + random_below(spread * 2 + 1) - spread));
}

// Rows of bricks 4 pixels high, 8 wide, staggered, with dark mortar and a lit top edge.
static void draw_bricks(BITMAP *t, int ramp, int s) {
    for (int row = 0; row < 4; row++) {
        int offset = (row & 1) * 4;
        for (int brick = -1; brick < 2; brick++) {
            int left = brick * 8 + offset;
            int tone = s + random_below(3) - 1;
            for (int y = row * 4; y < row * 4 + 4; y++)
                for (int x = left; x < left + 8; x++) {
                    if (x < 0 || x > 15)
                        continue;
                    int c;
                    if (y == row * 4 + 3 || x == left + 7)
                        c = shade(ramp, s - 5);          // mortar
                    else if (y == row * 4)
                        c = shade(ramp, tone + 2);       // lit top edge
                    else if (y == row * 4 + 2)
                        c = shade(ramp, tone - 1);
                    else
                        c = shade(ramp, tone + random_below(2));
                    put(t, x, y, c);
                }
        }
    }
}

// Two by two big blocks with bevelled edges.
static void draw_blocks(BITMAP *t, int ramp, int s) {
    for (int by = 0; by < 2; by++)
        for (int bx = 0; bx < 2; bx++) {
            int tone = s + random_below(3) - 1;
            for (int y = by * 8; y < by * 8 + 8; y++)
                for (int x = bx * 8; x < bx * 8 + 8; x++) {
                    int lx = x - bx * 8, ly = y - by * 8;
                    int c = shade(ramp, tone + random_below(2));
                    if (lx == 0 || ly == 0)
                        c = shade(ramp, tone + 2);
                    if (lx == 7 || ly == 7)
                        c = shade(ramp, tone - 3);
                    put(t, x, y, c);
                }
        }
}

// A flagstone: one smooth slab per tile, with a soft joint on its right and
// bottom edges, so that a floor reads as slabs and never as a brick wall.
static void draw_flagstones(BITMAP *t, int ramp, int s) {
    for (int y = 0; y < 16; y++)
        for (int x = 0; x < 16; x++) {
            int c = shade(ramp, s + (random_below(7) == 0 ? -1 : 0));
            if (x == 15 || y == 15)
                c = shade(ramp, s - 2);
            else if (x == 0 || y == 0)
                c = shade(ramp, s + 1);
            put(t, x, y, c);
        }
    put(t, 15, 0, shade(ramp, s - 1));
    put(t, 0, 15, shade(ramp, s - 1));
    for (int k = 0; k < 3; k++) // a few worn spots
        put(t, 2 + random_below(12), 2 + random_below(12), shade(ramp, s - 1));
}

static void draw_planks(BITMAP *t, int ramp, int s) {
    for (int x = 0; x < 16; x++) {
        int plank = x / 4;
        int tone = s + (plank & 1) - random_below(2);
        for (int y = 0; y < 16; y++) {
            int c = shade(ramp, tone + (random_below(6) == 0 ? -1 : 0));
            if (x % 4 == 3)
                c = shade(ramp, s - 4);
            if (y == (plank * 5 + 3) % 16 && x % 4 != 3)
                c = shade(ramp, s - 3); // the plank's butt joint
            put(t, x, y, c);
        }
    }
}

static void draw_cobbles(BITMAP *t, int ramp, int s) {
    fill_noise(t, ramp, s - 4, 0);
    static const int cx[5] = {3, 11, 7, 2, 12};
    static const int cy[5] = {3, 4, 9, 12, 13};
    for (int k = 0; k < 5; k++)
        for (int y = -3; y <= 3; y++)
            for (int x = -3; x <= 3; x++)
                if (x * x + y * y <= 8) {
                    int lit = (x + y < -1) ? 1 : (x + y > 2 ? -1 : 0);
                    put(t, (cx[k] + x) & 15, (cy[k] + y) & 15, shade(ramp, s + lit));
                }
}

static void draw_grass(BITMAP *t) {
    fill_noise(t, GREEN, 5, 1);
    for (int k = 0; k < 14; k++) {
        int x = random_below(16), y = random_below(15);
        put(t, x, y, shade(GREEN, 9));
        put(t, x, y + 1, shade(GREEN, 7));
    }
}

// Moss patches over whatever is in the tile.
static void add_moss(BITMAP *t, int amount) {
    for (int k = 0; k < amount; k++) {
        int x = random_below(14), y = random_below(14);
        for (int j = 0; j < 3; j++)
            for (int i = 0; i < 3; i++)
                if (random_below(3))
                    put(t, x + i, y + j, shade(MOSS, 5 + random_below(3)));
    }
}

static void add_crack(BITMAP *t) {
    // a zigzag split from the top edge to the bottom edge, with a lit lip
    static const int path[16] = {7, 7, 8, 8, 7, 6, 6, 7, 8, 9, 9, 8, 7, 7, 6, 6};
    for (int y = 0; y < 16; y++) {
        put(t, path[y], y, INK);
        put(t, path[y] + 1, y, shade(SLATE, 1));
        put(t, path[y] - 1, y, shade(SLATE, 11));
    }
    // side branches and chips
    static const int branch[][2] = {{9, 4}, {10, 4}, {11, 3}, {5, 10}, {4, 10}, {3, 11}, {10, 13}, {11, 14}};
    for (auto &b : branch)
        put(t, b[0], b[1], INK);
}

static void draw_ghost_wall(BITMAP *t, int variant) {
    draw_bricks(t, GHOST, 8);
    // every other pixel shows a dim ground: the wall looks thin, like mist
    for (int y = 0; y < 16; y++)
        for (int x = 0; x < 16; x++)
            if ((x + y) % 2 == 0)
                put(t, x, y, shade(GHOST, 2 + ((x + y + variant) % 4 == 0)));
    for (int k = 0; k < 5; k++)
        put(t, random_below(16), random_below(16), shade(GHOST, 15));
    if (variant) { // a swirl of mist
        static const int swirl[][2] = {{5, 6}, {6, 5}, {7, 5}, {8, 5}, {9, 6}, {9, 7}, {8, 8}, {7, 8}, {6, 7}, {10, 9}, {11, 10}};
        for (auto &p : swirl)
            put(t, p[0], p[1], shade(GHOST, 14));
    }
}

static void draw_gate_posts(BITMAP *t) {
    for (int y = 0; y < 16; y++)
        for (int x : {0, 1, 14, 15}) {
            int c = shade(STONE, (x == 0 || x == 14) ? 9 : 5);
            if (y % 5 == 4)
                c = shade(STONE, 3);
            put(t, x, y, c);
        }
}

// A portcullis: iron bars in a stone frame.
static void draw_portcullis(BITMAP *t) {
    fill_noise(t, SLATE, 1, 0);
    for (int x = 2; x < 14; x++)
        for (int y = 0; y < 16; y++)
            if (y >= 13 && (x % 3 == 2))
                put(t, x, y, shade(BROWN, 2)); // a glimpse of the floor below the bars
    for (int bar = 3; bar < 14; bar += 3)
        for (int y = 0; y < 15; y++) {
            put(t, bar, y, shade(GREY, 11));
            put(t, bar + 1, y, shade(GREY, 6));
        }
    for (int y : {3, 9})
        for (int x = 2; x < 14; x++)
            put(t, x, y, shade(GREY, x % 3 == 0 ? 12 : 8));
    draw_gate_posts(t);
}

// A barred wooden door with iron bands and a ring.
static void draw_wooden_gate(BITMAP *t) {
    draw_planks(t, BROWN, 7);
    for (int y : {2, 12})
        for (int x = 0; x < 16; x++) {
            put(t, x, y, shade(GREY, 9));
            put(t, x, y + 1, shade(GREY, 5));
        }
    for (int y : {2, 12})
        for (int x : {2, 13})
            put(t, x, y, shade(GREY, 13)); // rivets
    circle(t, 11, 8, 2, shade(GOLD, 8));
    put(t, 10, 6, shade(GOLD, 13));
    draw_gate_posts(t);
}

// An open gate: the floor, the frame, and what is left of the gate at the top or side.
static void draw_open_portcullis(BITMAP *t) {
    draw_flagstones(t, SAND, 9);
    for (int x = 2; x < 14; x++)
        put(t, x, 0, shade(GREY, 3));
    for (int bar = 3; bar < 14; bar += 3) {
        put(t, bar, 1, shade(GREY, 11));
        put(t, bar + 1, 1, shade(GREY, 6));
        put(t, bar, 2, shade(GREY, 8)); // the tips of the raised bars
    }
    draw_gate_posts(t);
}

static void draw_open_wooden_gate(BITMAP *t) {
    draw_flagstones(t, SAND, 9);
    draw_gate_posts(t);
    for (int y = 0; y < 16; y++) { // the door stands open against the left post
        put(t, 2, y, shade(BROWN, 8));
        put(t, 3, y, shade(BROWN, 5));
        put(t, 4, y, shade(SAND, 5)); // its shadow
    }
    for (int y : {2, 12})
        put(t, 2, y, shade(GREY, 9));
}

// A switch: a round target set into the wall, plainly something to shoot.
static void draw_switch(BITMAP *t) {
    draw_bricks(t, SLATE, 8);
    circlefill(t, 8, 8, 6, shade(SLATE, 2));
    circlefill(t, 8, 8, 5, shade(GOLD, 9));
    circle(t, 8, 8, 5, shade(GOLD, 5));
    circlefill(t, 8, 8, 3, shade(RED, 9));
    circlefill(t, 8, 8, 1, shade(RED, 13));
    put(t, 6, 5, shade(GOLD, 14));
    put(t, 7, 4, shade(GOLD, 14));
}

// A rug with a gold border: the walkable edge that monsters will not step on.
static void draw_rug(BITMAP *t) {
    fill_noise(t, RED, 6, 0);
    for (int i = 0; i < 16; i++) {
        put(t, i, 1, shade(GOLD, 8));
        put(t, i, 14, shade(GOLD, 8));
        put(t, 1, i, shade(GOLD, 8));
        put(t, 14, i, shade(GOLD, 8));
        put(t, i, 0, shade(RED, 3));
        put(t, i, 15, shade(RED, 3));
        put(t, 0, i, shade(RED, 3));
        put(t, 15, i, shade(RED, 3));
    }
    for (int y = 3; y < 13; y++)
        for (int x = 3; x < 13; x++) {
            int d = (x < 8 ? 7 - x : x - 8) + (y < 8 ? 7 - y : y - 8);
            if (d == 4)
                put(t, x, y, shade(GOLD, 10));
            else if (d < 2)
                put(t, x, y, shade(RED, 10));
            else if ((x + y) % 2 == 0)
                put(t, x, y, shade(RED, 7));
        }
}

static void draw_rubble(BITMAP *t) {
    draw_flagstones(t, SAND, 8);
    static const int chunks[][3] = {{3, 3, 2}, {11, 4, 2}, {6, 10, 3}, {13, 12, 1}, {2, 13, 1}, {9, 7, 1}};
    for (auto &c : chunks) {
        circlefill(t, c[0], c[1], c[2], shade(STONE, 6));
        put(t, c[0] - 1 + (c[2] == 1), c[1] - 1 + (c[2] == 1), shade(STONE, 10));
        put(t, c[0] + c[2], c[1] + 1, shade(SAND, 4)); // shadow
    }
    for (int k = 0; k < 12; k++)
        put(t, random_below(16), random_below(16), shade(STONE, 4 + random_below(4)));
}

// A doorway: stairs going down into the dark between two posts.
static void draw_exit(BITMAP *t) {
    fill_noise(t, BROWN, 1, 0);
    for (int step = 0; step < 4; step++)
        for (int x = 3; x < 13; x++) {
            put(t, x, 15 - step * 3, shade(BROWN, 8 - step * 2));
            put(t, x, 14 - step * 3, shade(BROWN, 5 - step));
        }
    for (int y = 0; y < 16; y++) {
        put(t, 1, y, shade(GOLD, 7));
        put(t, 14, y, shade(GOLD, 5));
        put(t, 0, y, shade(BROWN, 5));
        put(t, 15, y, shade(BROWN, 3));
        put(t, 2, y, shade(BROWN, 2));
    }
    for (int x = 0; x < 16; x++) {
        put(t, x, 0, shade(GOLD, 8));
        put(t, x, 1, shade(BROWN, 4));
    }
    put(t, 7, 4, shade(GOLD, 12)); // a faint arrow pointing in: the way on
    put(t, 8, 4, shade(GOLD, 12));
    put(t, 6, 3, shade(GOLD, 9));
    put(t, 9, 3, shade(GOLD, 9));
}

static void draw_boundary(BITMAP *t) {
    draw_blocks(t, SLATE, 3);
    for (int k = 0; k < 6; k++)
        put(t, random_below(16), random_below(16), shade(SLATE, 1));
}

// Plain walls: most codes get slate bricks, some groups other kinds of wall.
static void draw_plain_wall(BITMAP *t, int code) {
    if (code >= 12 && code <= 23)
        draw_bricks(t, STONE, 8);
    else if (code >= 31 && code <= 40) {
        draw_bricks(t, SLATE, 8);
        add_moss(t, 3);
    } else if (code >= 41)
        draw_blocks(t, STONE, 5);
    else
        draw_bricks(t, SLATE, 8);
}

// Floors without a rule of their own: a few kinds, all plainly walkable.
static void draw_plain_floor(BITMAP *t, int code) {
    if (code == 55 || code == 58)
        draw_planks(t, BROWN, 8);
    else if (code <= 61)
        draw_cobbles(t, GREY, 7);
    else if (code <= 64) {
        for (int y = 0; y < 16; y++)
            for (int x = 0; x < 16; x++)
                put(t, x, y, ((x / 8 + y / 8) & 1) ? shade(SAND, 10) : shade(STONE, 7));
    } else if (code <= 67)
        draw_grass(t);
    else if (code <= 71) {
        draw_flagstones(t, SAND, 9);
        add_moss(t, 2);
    } else
        draw_flagstones(t, STONE, 9);
}

static void draw_tile(BITMAP *t, int code) {
    seed_random(1000 + code);
    switch (code) {
    case 0: draw_boundary(t); break;
    case 11: draw_bricks(t, SLATE, 8); add_crack(t); break;
    case 24: draw_ghost_wall(t, 0); break;
    case 25: draw_ghost_wall(t, 1); break;
    case 26: draw_portcullis(t); break;
    case 27: draw_wooden_gate(t); break;
    case 28: draw_switch(t); break;
    case 30: draw_blocks(t, SLATE, 7); break;
    case 52: draw_rug(t); break;
    case 53: draw_flagstones(t, SLATE, 3); break;
    case 54: draw_planks(t, BROWN, 3); break;
    case 56: draw_open_portcullis(t); break;
    case 57: draw_open_wooden_gate(t); break;
    case 68: draw_rubble(t); break;
    case 72: draw_flagstones(t, SAND, 9); break;
    case 74: draw_exit(t); break;
    default:
        if (code < 52)
            draw_plain_wall(t, code);
        else
            draw_plain_floor(t, code);
    }
}

void make_tiles(const std::string &dir) {
    BITMAP *sheet = create_bitmap_ex(8, 15 * 16, 5 * 16);
    BITMAP *tile = create_bitmap_ex(8, 16, 16);
    for (int code = 0; code <= 74; code++) {
        clear_to_color(tile, INK);
        draw_tile(tile, code);
        blit(tile, sheet, 0, 0, (code % 15) * 16, (code / 15) * 16, 16, 16);
    }
    save_art(dir, "tiles.pcx", sheet);
    destroy_bitmap(tile);
    destroy_bitmap(sheet);
}
