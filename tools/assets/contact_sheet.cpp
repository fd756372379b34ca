// contact_sheet.cpp -- lamplight-contact-sheet: draws everything in the datafiles into one picture
//
// usage: lamplight-contact-sheet GAME_DIR OUT.pcx
// Shows a made-up room as the game would draw it, the same room dark with
// the lamp, every tile with its code, the objects, effects, player frames
// and monsters, so that an artist can judge the art in one look.
#include <allegro.h>
#include <cerrno>
#include <cstdio>
#include <string>

static DATAFILE *data, *guy, *mob; // the three datafiles
static FONT *panel_font;           // entry 6 of data.dat

static BITMAP *art(DATAFILE *d, int index) {
    return (BITMAP *)d[index].dat;
}

// The made-up room: one character per tile.
static const char *const room[15] = {
    "000000000000000",
    "0XXXXXXXXXXXXX0",
    "0X...:.....#.X0",
    "0X.........#.X0",
    "0X..PP...+.X|X0",
    "0X..PP......XX0",
    "0XXbXXcXXX....7",
    "0X.........r..0",
    "0Xggg...~~~...0",
    "0X.........=..0",
    "0X..dd..ee....0",
    "0X..dd..ee....0",
    "0X.....-......0",
    "0XXXXXXXXXXXXX0",
    "000000000000000",
};

static int room_code(char c) {
    switch (c) {
    case '0': return 0;   case 'X': return 30;  case '#': return 11;  case '|': return 24;
    case 'P': return 1;   case '+': return 28;  case 'b': return 26;  case 'c': return 27;
    case 'r': return 68;  case 'g': return 25;  case '~': return 52;  case 'd': return 53;
    case 'e': return 54;  case '7': return 74;  case '=': return 56;  case '-': return 57;
    case ':': return 55;  default: return 72;
    }
}

static void draw_room(BITMAP *dest, int x0, int y0) {
    for (int j = 0; j < 15; j++)
        for (int i = 0; i < 15; i++)
            blit(art(data, 14 + room_code(room[j][i])), dest, 0, 0, x0 + i * 16, y0 + j * 16, 16, 16);
    static const int objects[][3] = {{1, 3, 3}, {2, 12, 2}, {3, 6, 3}, {4, 7, 4}, {5, 3, 7}, {6, 5, 7},
                                     {7, 7, 9}, {8, 9, 9}, {9, 11, 11}, {10, 12, 12}, {11, 3, 12},
                                     {12, 10, 3}, {13, 12, 8}, {14, 6, 12}};
    for (auto &o : objects)
        draw_sprite(dest, art(data, 88 + o[0]), x0 + o[1] * 16, y0 + o[2] * 16);
    draw_sprite(dest, art(guy, 13), x0 + 120, y0 + 150);
    draw_sprite(dest, art(data, 1), x0 + 150, y0 + 170);
    draw_sprite(dest, art(data, 2), x0 + 100, y0 + 160);
    draw_sprite(dest, art(data, 4), x0 + 60, y0 + 100);
    for (int k = 2; k <= 7; k++)
        draw_sprite(dest, art(mob, k - 1), x0 + 16 + (k - 2) * 34, y0 + 214 - 100);
    draw_sprite(dest, art(mob, 12), x0 + 190, y0 + 40);
    draw_sprite(dest, art(mob, 13), x0 + 150, y0 + 200);
    // the panel, written on as the game does
    blit(art(data, 0), dest, 0, 0, x0 + 240, y0, 80, 240);
    textprintf_centre_ex(dest, panel_font, x0 + 280, y0 + 10, 0, -1, "SCORE:%d", 12450);
    textprintf_centre_ex(dest, panel_font, x0 + 280, y0 + 40, 0, -1, "HP:%d", 200);
    textprintf_centre_ex(dest, panel_font, x0 + 280, y0 + 70, 0, -1, "BOMBS:%d", 3);
}

// The same room in the dark: a fading circle of lamplight round (cx, cy).
static void light_room(BITMAP *dest, int x0, int y0, int cx, int cy, COLOR_MAP *light) {
    for (int y = 0; y < 240; y++)
        for (int x = 0; x < 240; x++) {
            int d2 = (x - cx) * (x - cx) + (y - cy) * (y - cy);
            int level = 0;
            for (int r = 80; r > 0; r -= 8) // concentric rings, brighter inwards
                if (d2 <= r * r)
                    level = 255 - (r - 8) * 255 / 80;
            putpixel(dest, x0 + x, y0 + y, light->data[level][getpixel(dest, x0 + x, y0 + y)]);
        }
}

static void label(BITMAP *dest, int x, int y, const char *text) {
    textprintf_ex(dest, panel_font, x, y, 15, -1, "%s", text);
}

int main(int argc, char **argv) {
    if (argc != 3) {
        fprintf(stderr, "usage: %s GAME_DIR OUT.pcx\n", argv[0]);
        return 2;
    }
    install_allegro(SYSTEM_NONE, &errno, atexit);
    set_color_depth(8);
    std::string dir = argv[1];
    data = load_datafile((dir + "/data.dat").c_str());
    guy = load_datafile((dir + "/guy.dat").c_str());
    mob = load_datafile((dir + "/monster.dat").c_str());
    if (!data || !guy || !mob) {
        fprintf(stderr, "cannot load the datafiles in %s\n", argv[1]);
        return 1;
    }
    panel_font = (FONT *)data[6].dat;
    RGB *pal = (RGB *)data[9].dat;
    static RGB_MAP rgb;
    static COLOR_MAP light, trans;
    create_rgb_table(&rgb, pal, nullptr);
    rgb_map = &rgb;
    create_light_table(&light, pal, 0, 0, 0, nullptr);
    create_trans_table(&trans, pal, 128, 128, 128, nullptr);

    BITMAP *sheet = create_bitmap_ex(8, 660, 720);
    clear_to_color(sheet, 17);
    draw_room(sheet, 0, 0);
    draw_room(sheet, 330, 0);
    light_room(sheet, 330, 0, 132, 164, &light);
    color_map = &trans; // the ghost-walking player, half transparent
    draw_trans_sprite(sheet, art(guy, 9), 330 + 180, 40);

    char text[16];
    for (int t = 0; t <= 74; t++) {
        int x = (t % 15) * 22, y = 250 + (t / 15) * 28;
        blit(art(data, 14 + t), sheet, 0, 0, x + 2, y, 16, 16);
        snprintf(text, sizeof text, "%d", t);
        label(sheet, x + 2, y + 18, text);
    }
    for (int o = 1; o <= 14; o++) {
        blit(art(data, 88 + o), sheet, 0, 0, 340 + ((o - 1) % 7) * 22, 250 + ((o - 1) / 7) * 28, 16, 16);
        snprintf(text, sizeof text, "%d", o);
        label(sheet, 340 + ((o - 1) % 7) * 22, 268 + ((o - 1) / 7) * 28, text);
    }
    for (int e = 1; e <= 5; e++)
        blit(art(data, e), sheet, 0, 0, 340 + (e - 1) * 22, 310, 16, 16);
    for (int f = 0; f < 16; f++)
        blit(art(guy, f + 1), sheet, 0, 0, (f % 8) * 28 + 2, 400 + (f / 8) * 36, 24, 32);
    blit(art(mob, 0), sheet, 0, 0, 240, 400, 82, 130);
    for (int k = 2; k <= 14; k++)
        blit(art(mob, k - 1), sheet, 0, 0, 330 + ((k - 2) % 5) * 34, 400 + ((k - 2) / 5) * 26, 30, 20);
    for (int c = 0; c < 256; c++) // the palette, and each colour at eight light levels
        for (int l = 0; l < 8; l++)
            rectfill(sheet, 2 + c * 2, 560 + l * 8, 3 + c * 2, 567 + l * 8, light.data[255 - l * 32][c]);
    for (int c = 0; c < 256; c++) // each colour blended half and half with colour 171 (teal)
        rectfill(sheet, 2 + c * 2, 640, 3 + c * 2, 660, trans.data[c][171]);
    save_pcx(argv[2], sheet, pal);
    return 0;
}
