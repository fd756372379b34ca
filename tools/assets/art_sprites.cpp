// art_sprites.cpp -- the object sprites, the side panel, the bomb, the shot and the explosion
#include "art.h"
#include "font_text.h"
#include <cstdio>
#include <cstdlib>
#include <cstring>

// One legend for every object picture: letter -> colour.
static std::string object_legend() {
    struct { char c; int colour; } keys[] = {
        {'k', INK}, {'w', shade(GREY, 15)},
        {'Y', shade(GOLD, 10)}, {'y', shade(GOLD, 13)}, {'d', shade(GOLD, 6)},
        {'R', shade(RED, 9)}, {'r', shade(RED, 13)}, {'e', shade(RED, 5)},
        {'B', shade(BROWN, 8)}, {'b', shade(BROWN, 11)}, {'n', shade(BROWN, 4)},
        {'G', shade(GREY, 10)}, {'g', shade(GREY, 13)}, {'h', shade(GREY, 6)},
        {'U', shade(BLUE, 10)}, {'u', shade(BLUE, 13)}, {'v', shade(BLUE, 5)},
        {'N', shade(GREEN, 9)}, {'m', shade(GREEN, 13)}, {'o', shade(GREEN, 5)},
        {'C', shade(GHOST, 10)}, {'c', shade(GHOST, 14)}, {'x', shade(GHOST, 6)},
        {'V', shade(VIOLET, 10)}, {'i', shade(VIOLET, 13)}, {'j', shade(VIOLET, 5)},
        {'S', shade(SAND, 11)}, {'s', shade(SAND, 14)}, {'a', shade(SAND, 7)},
        {'O', shade(ORANGE, 10)}, {'q', shade(ORANGE, 13)},
        {'P', shade(PINK, 10)}, {'p', shade(PINK, 13)},
    };
    std::string legend;
    for (auto &k : keys)
        legend += std::string(1, k.c) + "=" + std::to_string(k.colour) + " ";
    return legend;
}

// Objects 1..14, 16 rows of 16 each; the outline is added afterwards.
static const char *const object_art[14][16] = {
    { // 1 coin
        "................", "................", "................", ".....dddddd.....",
        "....dyyyyyYd....", "...dyyYYYYYYd...", "...dyYYddYYYd...", "...dyYdYYYYYd...",
        "...dyYdYYYYYd...", "...dyYYddYYYd...", "...dYYYYYYYYd...", "....dYYYYYYd....",
        ".....dddddd.....", "................", "................", "................"},
    { // 2 the golden chalice that ends the game
        "................", "..w.........w...", "................", "..dYYYYYYYYYYd..",
        "..YeeeeeeeeeeY..", "..dyYYYYYYYYYd..", "..dyYYYrRYYYYd..", "...dyYYRRYYYd...",
        "....dyYYYYYd....", ".....ddYYdd.....", ".......Yd.......", ".......Yd.......",
        "......yYYd......", ".....yYYYYd.....", "....dddddddd....", "................"},
    { // 3 mushroom
        "................", "................", ".....eRRRRe.....", "...eRRwwRRRRe...",
        "..eRRwwwRRwwRe..", "..RRRRwRRRwwRR..", ".eRRwRRRRRRRRRe.", ".eRwwwRRRwwRRRe.",
        ".eeeeeeeeeeeeee.", ".....sssss......", ".....ssssa......", ".....ssssa......",
        ".....ssssa......", "....ssssssa.....", "....aaaaaaa.....", "................"},
    { // 4 bone
        "................", "................", "................", "................",
        "..gg........gg..", ".gwwg......gwwg.", ".gwwwggggggwwwg.", "..hwwwwwwwwwwh..",
        "..hwwwwwwwwwwh..", ".gwwwhhhhhhwwwg.", ".gwwh......hwwg.", "..hh........hh..",
        "................", "................", "................", "................"},
    { // 5 lamp
        "................", ".......dd.......", "......d..d......", "......d..d......",
        ".....dYYYYd.....", "....dYYYYYYd....", "....hyqqqqyh....", "....hqOwwOqh....",
        "....hqOwwOqh....", "....hqqOOqqh....", "....hyqqqqyh....", "....dYYYYYYd....",
        ".....dYYYYd.....", "......dddd......", "................", "................"},
    { // 6 key
        "................", "................", "................", "................",
        "...dYYYd........", "..dYyyyYd.......", "..Yy...YYYYYYYd.", "..Yy...YddddYdd.",
        "..dY...Yd...Y.Y.", "...dYYYd....d.d.", "................", "................",
        "................", "................", "................", "................"},
    { // 7 scroll
        "................", "................", "..aSSSSSSSSSSa..", ".aSsssssssssSSa.",
        ".aSSSSSSSSSSSSa.", "..SsaaaaaaasS...", "..SsssssssssS...", "..SsaaaaasssS...",
        "..SsssssssssS...", "..SsaaaaaaRRS...", "..SsssssssRRS...", ".aSSSSSSSSSSSSa.",
        ".aSsssssssssSSa.", "..aSSSSSSSSSSa..", "................", "................"},
    { // 8 heart
        "................", "................", "...eRRe..eRRe...", "..eRwrRReRRRRe..",
        "..RwrRRRRRRRRR..", "..RrRRRRRRRRRR..", "..RRRRRRRRRRRe..", "..eRRRRRRRRRRe..",
        "...eRRRRRRRRe...", "....eRRRRRRe....", ".....eRRRRe.....", "......eRRe......",
        ".......ee.......", "................", "................", "................"},
    { // 9 flower
        "................", ".....pp.pp......", "....pPPpPPp.....", "....pPPYPPp.....",
        ".....pYyYp......", "....pPPYPPp.....", "....pPP.PPp.....", ".....pp.pp......",
        ".......N........", "...NN..N........", "....NN.N..NN....", ".....NNN.NN.....",
        ".......NNN......", ".......N........", "......oNNo......", "................"},
    { // 10 gem
        "................", "................", "................", ".....uuuuuu.....",
        "....uwuUUuUU....", "...uwuUUUuUUv...", "..UUUUUUUUUUUv..", "..vUUuUUUUUUvv..",
        "...vUUuUUUUvv...", "....vUUuUUvv....", ".....vUUUvv.....", "......vUvv......",
        ".......vv.......", "................", "................", "................"},
    { // 11 ghost cloak
        "................", "......xCCx......", ".....xCccCx.....", "....xCckkcCx....",
        "....xCkkkkCx....", "...xCCkkkkCCx...", "...xCcCkkCcCx...", "..xCcCCCCCCcCx..",
        "..xCcCCCCCCcCx..", "..xCcCCxCCCcCx..", ".xCcCCCxCCCCcCx.", ".xCcCCCxCCCCcCx.",
        ".xCCCCxxxCCCCCx.", ".xCxCxCxCxCxCxx.", "..x.x.x.x.x.x...", "................"},
    { // 12 bag of bombs
        "................", ".........q......", "........qd......", ".......d........",
        ".....hkkkh......", "....hGkkkkh.....", "...nBnhkkhnBn...", "....nBBnnBBn....",
        "...nBbBBBBBBn...", "..nBbBBBBBBBBn..", "..nBbBBBBBBBBn..", "..nBbBBBBBBBBn..",
        "..nBBBBBBBBBBn..", "...nBBBBBBBBn...", "....nnnnnnnn....", "................"},
    { // 13 treasure chest
        "................", "................", "................", "...nnnnnnnnnn...",
        "..nBbbbbbbbbBn..", "..nBBBBBBBBBBn..", "..dYYYYYYYYYYd..", "..nBBBBddBBBBn..",
        "..nBBBBYyBBBBn..", "..nBBBBddBBBBn..", "..nbBBBBBBBBBn..", "..nBBBBBBBBBBn..",
        "..dYYYYYYYYYYd..", "..nnnnnnnnnnnn..", "................", "................"},
    { // 14 jewel ring
        "................", "................", ".......w........", "......iVi.......",
        ".....iwVVj......", ".....iVVVj......", "......jjj.......", ".....dYYYd......",
        "....dY...Yd.....", "...dY.....Yd....", "...Y.......Y....", "...Y.......Y....",
        "...dY.....Yd....", "....dY...Yd.....", ".....dYYYd......", "................"},
};

void make_objects(const std::string &dir) {
    std::string legend = object_legend();
    BITMAP *sheet = create_bitmap_ex(8, 7 * 16, 2 * 16);
    BITMAP *cell = create_bitmap_ex(8, 16, 16);
    clear_bitmap(sheet);
    for (int o = 0; o < 14; o++) {
        for (int row = 0; row < 16; row++)
            if (strlen(object_art[o][row]) != 16) {
                fprintf(stderr, "object %d row %d is not 16 wide\n", o + 1, row);
                exit(1);
            }
        clear_bitmap(cell);
        draw_text_art(cell, 0, 0, object_art[o], 16, legend.c_str());
        outline(cell, INK);
        blit(cell, sheet, 0, 0, (o % 7) * 16, (o / 7) * 16, 16, 16);
    }
    save_art(dir, "objects.pcx", sheet);
    destroy_bitmap(cell);
    destroy_bitmap(sheet);
}

// A light parchment plate behind one counter; the game writes on it in colour 0.
static void draw_counter_plate(BITMAP *p, int top) {
    rectfill(p, 5, top + 1, 76, top + 16, shade(SLATE, 1));        // shadow
    rectfill(p, 3, top - 1, 74, top + 14, shade(GOLD, 5));         // frame
    rectfill(p, 4, top, 73, top + 13, shade(SAND, 14));            // parchment
    hline(p, 4, top, 73, shade(SAND, 15));
    hline(p, 4, top + 13, 73, shade(SAND, 12));
    for (int x : {3, 74})
        for (int y : {top - 1, top + 14})
            putpixel(p, x, y, shade(GOLD, 12));                    // corner studs
}

// A big lantern for the lower panel, glowing gold.
static void draw_panel_lantern(BITMAP *p, int cx, int top) {
    for (int r = 30; r > 0; r -= 3)
        circlefill(p, cx, top + 34, r, shade(SLATE, 4 + (30 - r) / 6));
    circle(p, cx, top + 4, 5, shade(GOLD, 6));                      // hanging ring
    rectfill(p, cx - 12, top + 10, cx + 12, top + 15, shade(GOLD, 8));
    triangle(p, cx - 9, top + 10, cx + 9, top + 10, cx, top + 5, shade(GOLD, 10));
    rectfill(p, cx - 10, top + 16, cx + 10, top + 48, shade(GOLD, 5));
    rectfill(p, cx - 8, top + 18, cx + 8, top + 46, shade(ORANGE, 11));
    ellipsefill(p, cx, top + 34, 6, 10, shade(GOLD, 12));
    ellipsefill(p, cx, top + 36, 3, 6, shade(GOLD, 15));
    for (int x : {cx - 10, cx, cx + 10})
        vline(p, x, top + 16, top + 48, shade(GOLD, 7));
    rectfill(p, cx - 12, top + 49, cx + 12, top + 54, shade(GOLD, 8));
    rectfill(p, cx - 8, top + 55, cx + 8, top + 57, shade(GOLD, 5));
}

void make_panel_and_effects(const std::string &dir) {
    TextFont font;
    std::string error;
    if (!read_text_font(dir + "/font.txt", font, error)) {
        fprintf(stderr, "%s\n", error.c_str());
        exit(1);
    }
    seed_random(77);
    BITMAP *p = create_bitmap_ex(8, 80, 240);
    for (int y = 0; y < 240; y++)        // dark slate blocks
        for (int x = 0; x < 80; x++) {
            int c = shade(SLATE, 4 + random_below(2));
            if (y % 12 == 11 || (x + (y / 12 % 2) * 10) % 20 == 19)
                c = shade(SLATE, 2);
            putpixel(p, x, y, c);
        }
    rect(p, 0, 0, 79, 239, shade(GOLD, 4));
    rect(p, 1, 1, 78, 238, shade(GOLD, 7));
    rect(p, 2, 2, 77, 237, shade(SLATE, 2));
    for (int top : {6, 36, 66})
        draw_counter_plate(p, top);
    const char *title = "LAMPLIGHT";
    int w = text_font_width(font, title);
    draw_text_font(p, font, title, 40 - w / 2 + 1, 100, shade(SLATE, 1));
    draw_text_font(p, font, title, 40 - w / 2, 99, shade(GOLD, 12));
    draw_panel_lantern(p, 40, 130);
    save_art(dir, "panel.pcx", p);
    destroy_bitmap(p);

    BITMAP *fx = create_bitmap_ex(8, 16, 16);
    clear_bitmap(fx); // the bomb: an iron ball with a burning fuse
    shaded_ellipse(fx, 7, 9, 5, 5, GREY, 4);
    putpixel(fx, 5, 7, shade(GREY, 12));
    putpixel(fx, 6, 6, shade(GREY, 10));
    rectfill(fx, 8, 3, 9, 4, shade(GREY, 7));
    putpixel(fx, 10, 2, shade(BROWN, 9));
    putpixel(fx, 11, 1, shade(ORANGE, 12));
    putpixel(fx, 12, 1, shade(GOLD, 15));
    putpixel(fx, 12, 0, shade(GOLD, 12));
    putpixel(fx, 13, 2, shade(ORANGE, 10));
    outline(fx, INK);
    save_art(dir, "bomb.pcx", fx);

    BITMAP *shot = create_bitmap_ex(8, 8, 8);
    clear_bitmap(shot); // the shot: a spark of lamplight
    circlefill(shot, 3, 3, 3, shade(ORANGE, 11));
    circlefill(shot, 3, 3, 2, shade(GOLD, 12));
    putpixel(shot, 3, 3, shade(GOLD, 15));
    putpixel(shot, 2, 3, shade(GOLD, 15));
    save_art(dir, "shot.pcx", shot);
    destroy_bitmap(shot);

    // Three frames of a growing burst.
    static const int radius[3] = {4, 6, 7};
    for (int f = 0; f < 3; f++) {
        clear_bitmap(fx);
        seed_random(300 + f);
        if (f == 2)
            circlefill(fx, 8, 8, 7, shade(GREY, 6));            // smoke ring
        circlefill(fx, 8, 8, radius[f] - (f == 2 ? 1 : 0), shade(RED, 10));
        circlefill(fx, 8, 8, radius[f] - 1 - f, shade(ORANGE, 12));
        circlefill(fx, 8, 8, radius[f] - 3 - f / 2, shade(GOLD, 14));
        for (int k = 0; k < 6 + f * 4; k++) {                   // sparks flying out
            int x = random_below(16), y = random_below(16);
            int dx = x - 8, dy = y - 8;
            if (dx * dx + dy * dy > radius[f] * radius[f] && dx * dx + dy * dy < 64)
                putpixel(fx, x, y, shade(GOLD, 13 - f));
        }
        char name[32];
        snprintf(name, sizeof name, "explosion%d.pcx", f + 1);
        save_art(dir, name, fx);
    }
    destroy_bitmap(fx);
}
