// art_common.cpp -- the game palette and the drawing helpers every generator shares
#include "art.h"
#include <cstdio>
#include <cstdlib>
#include <cstring>

PALETTE game_palette; // the 256 colours every generated picture is drawn in

static unsigned random_state = 1; // state of the generator's random numbers

// Full colour (shade 11) of each ramp, components 0..63.
static const int ramp_base[16][3] = {
    {48, 48, 48}, // GREY (a linear ramp of its own, see make_palette)
    {42, 35, 28}, // STONE: warm wall stone
    {27, 31, 40}, // SLATE: cool stone, the boundary and the panel
    {40, 24, 11}, // BROWN: wood, earth, leather
    {63, 52, 10}, // GOLD: coins, trim, lamplight
    {58, 10, 9},  // RED
    {63, 32, 6},  // ORANGE: fire
    {50, 41, 27}, // SAND: the main floor
    {14, 46, 12}, // GREEN
    {32, 38, 12}, // MOSS
    {6, 42, 40},  // TEAL
    {12, 22, 58}, // BLUE
    {34, 14, 54}, // VIOLET
    {58, 41, 30}, // SKIN
    {36, 52, 58}, // GHOST: pale blue-white, ghost walls and the cloak
    {58, 12, 48}, // PINK: magenta
};

int shade(int ramp, int s) {
    if (s < 0) s = 0;
    if (s > 15) s = 15;
    return ramp * 16 + s;
}

// Shades 0..11 are even steps from near black to the full colour, so a light
// table finds a darker shade of the same ramp at every level; 12..15 lighten
// towards white for highlights.
void make_palette() {
    for (int r = 0; r < 16; r++) {
        for (int s = 0; s < 16; s++) {
            RGB &c = game_palette[r * 16 + s];
            int v[3];
            for (int k = 0; k < 3; k++) {
                int base = ramp_base[r][k];
                if (r == GREY)
                    v[k] = s * 63 / 15;
                else if (s <= 11)
                    v[k] = base * (s + 1) / 12;
                else
                    v[k] = base + (63 - base) * (s - 11) / 7;
            }
            c.r = v[0];
            c.g = v[1];
            c.b = v[2];
            c.filler = 0;
        }
    }
}

void seed_random(unsigned seed) {
    random_state = seed ? seed : 1;
}

int random_below(int n) {
    random_state = random_state * 1103515245u + 12345u;
    return (int)((random_state >> 16) % (unsigned)n);
}

void outline(BITMAP *bmp, int ink) {
    BITMAP *copy = create_bitmap_ex(8, bmp->w, bmp->h);
    blit(bmp, copy, 0, 0, 0, 0, bmp->w, bmp->h);
    static const int dx[4] = {-1, 1, 0, 0};
    static const int dy[4] = {0, 0, -1, 1};
    for (int y = 0; y < bmp->h; y++)
        for (int x = 0; x < bmp->w; x++) {
            if (getpixel(copy, x, y) != 0)
                continue;
            for (int k = 0; k < 4; k++) {
                int c = getpixel(copy, x + dx[k], y + dy[k]);
                if (c > 0 && c != ink) {
                    putpixel(bmp, x, y, ink);
                    break;
                }
            }
        }
    destroy_bitmap(copy);
}

// The colour index a legend gives character `ch`, -1 for transparent.
static int legend_colour(const char *legend, char ch) {
    for (const char *p = legend; *p; p++) {
        if (p[0] == ch && p[1] == '=' && (p == legend || p[-1] == ' '))
            return atoi(p + 2);
    }
    fprintf(stderr, "no colour for '%c' in legend \"%s\"\n", ch, legend);
    exit(1);
}

void draw_text_art(BITMAP *bmp, int x, int y, const char *const *rows, int row_count, const char *legend) {
    for (int j = 0; j < row_count; j++)
        for (int i = 0; rows[j][i]; i++)
            if (rows[j][i] != '.' && rows[j][i] != ' ')
                putpixel(bmp, x + i, y + j, legend_colour(legend, rows[j][i]));
}

void shaded_ellipse(BITMAP *bmp, int cx, int cy, int rx, int ry, int ramp, int base_shade) {
    for (int y = -ry; y <= ry; y++)
        for (int x = -rx; x <= rx; x++) {
            // inside test scaled to avoid division: (x/rx)^2 + (y/ry)^2 <= 1
            long in = (long)x * x * ry * ry + (long)y * y * rx * rx;
            long edge = (long)rx * rx * ry * ry;
            if (in > edge)
                continue;
            // light comes from the upper left: brighter there, darker at the lower right rim
            int lit = (-x * 3 / (rx + 1)) + (-y * 3 / (ry + 1));
            int rim = in * 10 > edge * 8 ? -1 : 0;
            putpixel(bmp, cx + x, cy + y, shade(ramp, base_shade + lit + rim));
        }
}

void save_art(const std::string &dir, const char *name, BITMAP *bmp) {
    std::string path = dir + "/" + name;
    if (save_pcx(path.c_str(), bmp, game_palette) != 0) {
        fprintf(stderr, "cannot write %s\n", path.c_str());
        exit(1);
    }
}
