// art_figures.cpp -- the lamplighter's 16 frames and the fourteen monster kinds
#include "art.h"

enum Facing { UP, DOWN, LEFT, RIGHT }; // in frame order: frames 4 f .. 4 f + 3

static const int CLOAK = BLUE;  // the lamplighter's hooded cloak

// Boots for one walking step: step 0 and 2 stride, 1 and 3 pass.
static void draw_feet(BITMAP *b, int facing, int step) {
    int stride = step == 0 ? 1 : step == 2 ? -1 : 0;
    int boot = shade(BROWN, 5);
    if (facing == LEFT) {
        rectfill(b, 8 - 3 * stride, 28, 11 - 3 * stride, 30, boot);
        rectfill(b, 12 + 3 * stride, 28, 15 + 3 * stride, 30, shade(BROWN, 3));
    } else {
        rectfill(b, 8, 28 - stride, 10, 30 - stride, boot);
        rectfill(b, 13, 28 + stride, 15, 30 + stride, boot);
    }
}

// The cloak from the shoulders to the hem, widening downwards.
static void draw_cloak(BITMAP *b, int facing, int bob) {
    int narrow = facing == LEFT ? 1 : 0;
    int pts[8] = {7 + narrow, 14 + bob, 16 - narrow, 14 + bob, 18 - narrow, 28, 5 + narrow, 28};
    polygon(b, 4, pts, shade(CLOAK, 7));
    for (int y = 15 + bob; y < 28; y++) {             // lit left side, shaded right side
        int half = (y - 14 - bob) * 2 / 10;
        putpixel(b, 7 + narrow - half + 1, y, shade(CLOAK, 10));
        putpixel(b, 16 - narrow + half - 1, y, shade(CLOAK, 4));
    }
    hline(b, 6 + narrow, 27, 17 - narrow, shade(CLOAK, 4)); // the hem
    if (facing != UP)
        hline(b, 8 + narrow, 21 + bob, 15 - narrow, shade(BROWN, 7)); // belt
    if (facing == DOWN)
        putpixel(b, 12, 21 + bob, shade(GOLD, 12));   // buckle
}

// The hood, and the face inside it when the figure looks down or sideways.
static void draw_head(BITMAP *b, int facing, int bob) {
    int top = 3 + bob;
    shaded_ellipse(b, 12, top + 6, 6, 6, CLOAK, 8);
    putpixel(b, 12, top - 1, shade(CLOAK, 8));        // the hood's point
    if (facing == DOWN) {
        ellipsefill(b, 12, top + 8, 4, 3, shade(CLOAK, 2));
        ellipsefill(b, 12, top + 8, 3, 3, shade(SKIN, 9));
        putpixel(b, 10, top + 8, INK);
        putpixel(b, 14, top + 8, INK);
        putpixel(b, 11, top + 7, shade(SKIN, 12));
    } else if (facing == LEFT) {
        ellipsefill(b, 9, top + 8, 3, 3, shade(CLOAK, 2));
        ellipsefill(b, 8, top + 8, 2, 3, shade(SKIN, 9));
        putpixel(b, 7, top + 7, INK);
        putpixel(b, 6, top + 9, shade(SKIN, 10));     // the nose
    } else {
        vline(b, 12, top + 2, top + 11, shade(CLOAK, 6)); // seam down the back of the hood
    }
}

// The lantern in the figure's hand, swinging a little with the step.
static void draw_lantern(BITMAP *b, int x, int y) {
    putpixel(b, x + 1, y - 1, shade(GOLD, 6));
    rectfill(b, x, y, x + 3, y + 4, shade(GOLD, 7));
    rectfill(b, x + 1, y + 1, x + 2, y + 3, shade(GOLD, 15));
    putpixel(b, x + 1, y + 2, shade(ORANGE, 13));
}

static void draw_arm(BITMAP *b, int x, int y, int len) {
    vline(b, x, y, y + len, shade(CLOAK, 6));
    vline(b, x + 1, y, y + len, shade(CLOAK, 8));
    putpixel(b, x, y + len + 1, shade(SKIN, 8));
    putpixel(b, x + 1, y + len + 1, shade(SKIN, 8));
}

static void draw_player_frame(BITMAP *b, int facing, int step) {
    clear_bitmap(b);
    int bob = (step == 1 || step == 3) ? -1 : 0;
    // the arms and the lantern swing a quarter step behind the feet
    int swing = step == 1 ? 1 : step == 3 ? -1 : 0;
    draw_feet(b, facing, step);
    if (facing == UP) // the lantern is in front of the figure, half hidden
        draw_lantern(b, 18, 19 + swing);
    draw_cloak(b, facing, bob);
    if (facing == DOWN) {
        draw_arm(b, 5, 16 + bob, 5 + swing);
        draw_lantern(b, 4, 24 + swing);
        draw_arm(b, 17, 16 + bob, 5 - swing);
    } else if (facing == UP) {
        draw_arm(b, 5, 16 + bob, 5 - swing);
        draw_arm(b, 17, 16 + bob, 4 + swing);
    } else {
        draw_arm(b, 8, 16 + bob, 4);
        draw_lantern(b, 4 - swing, 21);
        hline(b, 6 - swing, 21, 8, shade(CLOAK, 8)); // the arm held out
    }
    draw_head(b, facing, bob);
    outline(b, INK);
}

void make_player(const std::string &dir) {
    BITMAP *sheet = create_bitmap_ex(8, 4 * 24, 4 * 32);
    BITMAP *frame = create_bitmap_ex(8, 24, 32);
    BITMAP *flipped = create_bitmap_ex(8, 24, 32);
    clear_bitmap(sheet);
    for (int facing = 0; facing < 4; facing++)
        for (int step = 0; step < 4; step++) {
            if (facing == RIGHT) { // the right-facing frames mirror the left ones
                draw_player_frame(frame, LEFT, step);
                clear_bitmap(flipped);
                draw_sprite_h_flip(flipped, frame, 0, 0);
                blit(flipped, sheet, 0, 0, step * 24, facing * 32, 24, 32);
            } else {
                draw_player_frame(frame, facing, step);
                blit(frame, sheet, 0, 0, step * 24, facing * 32, 24, 32);
            }
        }
    save_art(dir, "player.pcx", sheet);
    destroy_bitmap(flipped);
    destroy_bitmap(frame);
    destroy_bitmap(sheet);
}

// ---- monsters: kind 1 the golem (golem.pcx), kinds 2..14 in creatures.pcx ----

static void eyes(BITMAP *b, int x1, int x2, int y, int colour) {
    putpixel(b, x1, y, colour);
    putpixel(b, x2, y, colour);
}

static void draw_slime(BITMAP *b, int ramp) {
    shaded_ellipse(b, 15, 12, 12, 7, ramp, 8);
    rectfill(b, 4, 13, 26, 18, shade(ramp, 7));
    for (int x = 4; x <= 26; x += 4)
        circlefill(b, x, 17, 2, shade(ramp, 6));
    circlefill(b, 10, 8, 2, shade(ramp, 14));
    rectfill(b, 10, 11, 11, 13, INK);
    rectfill(b, 18, 11, 19, 13, INK);
    putpixel(b, 10, 11, shade(GREY, 15));
    putpixel(b, 18, 11, shade(GREY, 15));
}

static void draw_bat(BITMAP *b) {
    int wing = shade(VIOLET, 6);
    int left[8] = {13, 8, 1, 3, 3, 14, 12, 12};
    int right[8] = {17, 8, 29, 3, 27, 14, 18, 12};
    polygon(b, 4, left, wing);
    polygon(b, 4, right, wing);
    for (int x : {5, 9, 21, 25})
        line(b, x, 12, x - (x < 15 ? 1 : -1), 16, wing); // scalloped wing edges
    line(b, 3, 4, 12, 10, shade(VIOLET, 9));
    line(b, 27, 4, 18, 10, shade(VIOLET, 9));
    shaded_ellipse(b, 15, 10, 4, 5, VIOLET, 8);
    putpixel(b, 12, 5, shade(VIOLET, 9));                // ears
    putpixel(b, 18, 5, shade(VIOLET, 9));
    eyes(b, 13, 17, 9, shade(RED, 14));
    putpixel(b, 14, 13, shade(GREY, 15));                // fangs
    putpixel(b, 16, 13, shade(GREY, 15));
}

static void draw_beetle(BITMAP *b) {
    for (int k = 0; k < 3; k++) {                        // legs
        line(b, 8 + k * 6, 6, 5 + k * 6, 1, shade(GREY, 3));
        line(b, 8 + k * 6, 14, 5 + k * 6, 19, shade(GREY, 3));
    }
    shaded_ellipse(b, 15, 10, 10, 7, TEAL, 6);
    line(b, 8, 10, 25, 10, shade(TEAL, 2));              // the split of the wing cases
    ellipsefill(b, 5, 10, 4, 4, shade(GREY, 3));         // head
    line(b, 2, 8, 0, 4, shade(GREY, 4));
    line(b, 2, 12, 0, 16, shade(GREY, 4));
    eyes(b, 3, 3, 8, shade(GOLD, 14));
    putpixel(b, 3, 12, shade(GOLD, 14));
    putpixel(b, 12, 6, shade(TEAL, 14));
    putpixel(b, 13, 6, shade(TEAL, 13));
}

static void draw_rat(BITMAP *b) {
    line(b, 22, 12, 29, 8, shade(PINK, 11));             // tail
    line(b, 29, 8, 29, 5, shade(PINK, 11));
    shaded_ellipse(b, 15, 11, 9, 6, GREY, 8);
    int snout[6] = {7, 7, 7, 15, 1, 12};
    polygon(b, 3, snout, shade(GREY, 8));
    circlefill(b, 9, 5, 2, shade(PINK, 11));             // ear
    circlefill(b, 13, 5, 2, shade(PINK, 10));
    putpixel(b, 1, 12, shade(PINK, 12));                 // nose
    eyes(b, 5, 6, 10, INK);
    putpixel(b, 5, 10, shade(RED, 12));
    rectfill(b, 9, 16, 11, 17, shade(PINK, 10));         // feet
    rectfill(b, 18, 16, 20, 17, shade(PINK, 10));
}

static void draw_spider(BITMAP *b) {
    for (int k = 0; k < 4; k++) {
        int x = 9 + k * 4;
        line(b, x, 9, x - 5 + k * 2, 2, shade(GREY, 5));
        line(b, x - 5 + k * 2, 2, x - 7 + k * 4, 0, shade(GREY, 5));
        line(b, x, 11, x - 5 + k * 2, 18, shade(GREY, 5));
    }
    shaded_ellipse(b, 19, 10, 7, 6, RED, 4);
    shaded_ellipse(b, 9, 10, 4, 4, GREY, 4);
    putpixel(b, 18, 8, shade(GOLD, 10));                 // the mark on its back
    putpixel(b, 19, 9, shade(GOLD, 10));
    putpixel(b, 20, 8, shade(GOLD, 10));
    eyes(b, 7, 9, 9, shade(RED, 14));
    eyes(b, 7, 9, 11, shade(RED, 12));
}

static void draw_snake(BITMAP *b) {
    for (int x = 4; x < 26; x++) {                       // a wave of a body
        static const int wave[8] = {0, 1, 2, 2, 1, 0, -1, -1};
        int y = 12 + wave[(x / 2) % 8] * 2;
        int c = (x / 3) % 2 ? shade(GREEN, 8) : shade(GOLD, 9);
        rectfill(b, x, y - 2, x, y + 2, c);
        putpixel(b, x, y - 2, shade(GREEN, 11));
    }
    shaded_ellipse(b, 25, 8, 4, 3, GREEN, 8);
    eyes(b, 26, 26, 7, shade(GOLD, 15));
    putpixel(b, 27, 7, INK);
    line(b, 29, 9, 29, 11, shade(RED, 11));              // tongue
}

static void draw_wisp(BITMAP *b) {
    shaded_ellipse(b, 15, 8, 8, 7, GHOST, 11);
    for (int k = 0; k < 4; k++) {                        // ragged tail
        int x = 9 + k * 4;
        line(b, x, 13, x + (k % 2 ? 1 : -1), 18, shade(GHOST, 8));
        line(b, x + 1, 13, x + 1, 16, shade(GHOST, 9));
    }
    ellipsefill(b, 12, 8, 1, 2, shade(BLUE, 3));
    ellipsefill(b, 18, 8, 1, 2, shade(BLUE, 3));
    ellipsefill(b, 15, 12, 2, 1, shade(BLUE, 3));
}

static void draw_scorpion(BITMAP *b) {
    for (int k = 0; k < 3; k++) {
        line(b, 10 + k * 4, 10, 8 + k * 4, 17, shade(ORANGE, 5));
        line(b, 10 + k * 4, 10, 7 + k * 4, 4, shade(ORANGE, 5));
    }
    shaded_ellipse(b, 13, 10, 7, 4, ORANGE, 8);
    for (int k = 0; k < 4; k++)                          // the tail curling over
        circlefill(b, 20 + k * 2, 9 - k * 2, 2, shade(ORANGE, 9 - k));
    line(b, 27, 2, 25, 1, shade(RED, 12));               // sting
    circlefill(b, 4, 5, 2, shade(ORANGE, 8));            // claws
    circlefill(b, 4, 15, 2, shade(ORANGE, 8));
    line(b, 6, 7, 8, 9, shade(ORANGE, 7));
    line(b, 6, 13, 8, 11, shade(ORANGE, 7));
    eyes(b, 7, 7, 9, INK);
}

static void draw_toad(BITMAP *b) {
    shaded_ellipse(b, 6, 15, 4, 3, MOSS, 7);             // haunches
    shaded_ellipse(b, 24, 15, 4, 3, MOSS, 7);
    shaded_ellipse(b, 15, 12, 10, 7, MOSS, 8);
    for (int k = 0; k < 5; k++)
        putpixel(b, 10 + k * 3, 10 + (k % 2), shade(MOSS, 4)); // warts
    circlefill(b, 10, 6, 3, shade(MOSS, 9));
    circlefill(b, 20, 6, 3, shade(MOSS, 9));
    rectfill(b, 9, 5, 11, 7, shade(GOLD, 13));
    rectfill(b, 19, 5, 21, 7, shade(GOLD, 13));
    vline(b, 10, 5, 7, INK);
    vline(b, 20, 5, 7, INK);
    hline(b, 10, 14, 20, shade(MOSS, 3));                // mouth
}

static void draw_imp(BITMAP *b) {
    // a flame with a face
    int flame[14] = {15, 0, 19, 5, 24, 3, 25, 12, 20, 19, 10, 19, 5, 11};
    polygon(b, 7, flame, shade(RED, 10));
    int inner[10] = {15, 4, 19, 9, 21, 14, 15, 19, 9, 14};
    polygon(b, 5, inner, shade(ORANGE, 12));
    ellipsefill(b, 15, 15, 4, 3, shade(GOLD, 13));
    eyes(b, 13, 17, 12, INK);
    hline(b, 13, 17, 16, shade(RED, 4));
    putpixel(b, 8, 8, shade(ORANGE, 10));                // a flick of flame
    putpixel(b, 7, 6, shade(ORANGE, 12));
}

static void draw_eye(BITMAP *b) {
    for (int k = 0; k < 5; k++)                          // tendrils
        line(b, 10 + k * 3, 14, 8 + k * 4, 19, shade(PINK, 6));
    shaded_ellipse(b, 15, 9, 9, 8, GREY, 13);
    circlefill(b, 15, 10, 4, shade(PINK, 9));
    circlefill(b, 15, 10, 2, INK);
    putpixel(b, 14, 9, shade(GREY, 15));
    line(b, 8, 6, 10, 9, shade(RED, 9));                 // veins
    line(b, 22, 7, 20, 10, shade(RED, 9));
}

// A spiked iron ball; `vertical` gives it a chain above, the other one spins on its axle.
static void draw_spike_ball(BITMAP *b, bool vertical) {
    int ramp = vertical ? GREY : RED;
    for (int k = 0; k < 8; k++) {
        static const int dx[8] = {9, 6, 0, -6, -9, -6, 0, 6};
        static const int dy[8] = {0, 6, 9, 6, 0, -6, -9, -6};
        line(b, 15, 10, 15 + dx[k] * 13 / 10, 10 + dy[k] * 10 / 10, shade(ramp, 12));
    }
    shaded_ellipse(b, 15, 10, 7, 7, ramp, 7);
    if (vertical) {
        putpixel(b, 13, 7, shade(GREY, 15));
        eyes(b, 12, 18, 10, shade(RED, 13));
    } else {
        circlefill(b, 15, 10, 2, shade(GOLD, 10));           // axle
        hline(b, 1, 10, 5, shade(GOLD, 7));
        hline(b, 25, 10, 29, shade(GOLD, 7));
    }
}

static void draw_creature(BITMAP *b, int kind) {
    clear_bitmap(b);
    switch (kind) {
    case 2: draw_slime(b, GREEN); break;
    case 3: draw_bat(b); break;
    case 4: draw_beetle(b); break;
    case 5: draw_rat(b); break;
    case 6: draw_eye(b); break;
    case 7: draw_spider(b); break;
    case 8: draw_snake(b); break;
    case 9: draw_wisp(b); break;
    case 10: draw_scorpion(b); break;
    case 11: draw_toad(b); break;
    case 12: draw_imp(b); break;
    case 13: draw_spike_ball(b, true); break;
    case 14: draw_spike_ball(b, false); break;
    }
    outline(b, INK);
}

// Kind 1: a stone golem, 82 x 130.
static void draw_golem(BITMAP *b) {
    clear_bitmap(b);
    seed_random(11);
    // legs and feet
    for (int x : {22, 48}) {
        rectfill(b, x, 88, x + 13, 120, shade(STONE, 6));
        rectfill(b, x - 2, 118, x + 15, 127, shade(STONE, 7));
        hline(b, x - 2, 118, x + 15, shade(STONE, 10));
    }
    // the body: a barrel of stone blocks
    shaded_ellipse(b, 41, 62, 30, 34, STONE, 8);
    for (int y = 34; y < 94; y += 10)
        hline(b, 14, y, 68, shade(STONE, 4));
    for (int y = 34; y < 94; y += 10)
        for (int x = 18 + (y / 10 % 2) * 8; x < 66; x += 16)
            vline(b, x, y, y + 10, shade(STONE, 4));
    // a glowing rune on the chest
    circlefill(b, 41, 60, 7, shade(STONE, 4));
    circle(b, 41, 60, 6, shade(GOLD, 12));
    line(b, 41, 54, 41, 66, shade(GOLD, 14));
    line(b, 36, 58, 46, 62, shade(GOLD, 13));
    // arms hanging to the knees, with big fists
    for (int side = 0; side < 2; side++) {
        int x = side ? 66 : 2;
        rectfill(b, x, 36, x + 13, 92, shade(STONE, side ? 5 : 8));
        for (int y = 46; y < 90; y += 12)
            hline(b, x, y, x + 13, shade(STONE, 3));
        shaded_ellipse(b, x + 7, 99, 8, 8, STONE, 7);
    }
    // shoulders
    shaded_ellipse(b, 12, 36, 11, 8, STONE, 9);
    shaded_ellipse(b, 70, 36, 11, 8, STONE, 7);
    // the head, sunk between the shoulders
    shaded_ellipse(b, 41, 20, 14, 14, STONE, 8);
    rectfill(b, 31, 16, 51, 21, shade(STONE, 3));      // brow shadow
    rectfill(b, 33, 17, 38, 20, shade(GOLD, 14));      // glowing eyes
    rectfill(b, 44, 17, 49, 20, shade(GOLD, 14));
    rectfill(b, 35, 18, 36, 19, shade(GREY, 15));
    rectfill(b, 46, 18, 47, 19, shade(GREY, 15));
    hline(b, 35, 28, 47, shade(STONE, 2));             // mouth
    // cracks and moss
    line(b, 24, 70, 30, 80, shade(STONE, 2));
    line(b, 30, 80, 27, 86, shade(STONE, 2));
    line(b, 56, 40, 60, 50, shade(STONE, 2));
    for (int k = 0; k < 40; k++) {
        int x = 16 + random_below(50), y = 40 + random_below(50);
        if (getpixel(b, x, y) > 0 && getpixel(b, x, y - 1) > 0)
            putpixel(b, x, y, shade(MOSS, 5 + random_below(4)));
    }
    outline(b, INK);
}

void make_monsters(const std::string &dir) {
    BITMAP *golem = create_bitmap_ex(8, 82, 130);
    draw_golem(golem);
    save_art(dir, "golem.pcx", golem);
    destroy_bitmap(golem);
    // kinds 2..14: 13 cells of 30x20, four to a row
    BITMAP *sheet = create_bitmap_ex(8, 4 * 30, 4 * 20);
    BITMAP *cell = create_bitmap_ex(8, 30, 20);
    clear_bitmap(sheet);
    for (int kind = 2; kind <= 14; kind++) {
        draw_creature(cell, kind);
        int i = kind - 2;
        blit(cell, sheet, 0, 0, (i % 4) * 30, (i / 4) * 20, 30, 20);
    }
    save_art(dir, "creatures.pcx", sheet);
    destroy_bitmap(cell);
    destroy_bitmap(sheet);
}
