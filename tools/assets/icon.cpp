// icon.cpp -- the desktop icons: the lamplighter facing the player, from the game's own art
//   lamplight-icon PLAYER.pcx OUT_DIR   writes OUT_DIR/lamplight-32.png, -64.png, -128.png
// Each is the figure centred on a transparent square, enlarged by whole
// pixels (no smoothing): 1x, 2x and 4x.
#include <allegro.h>
#include <loadpng.h>
#include <cerrno>
#include <cstdio>
#include <string>

// The first frame facing down in the player's sheet, and the icon's base size.
constexpr int FIGURE_X = 0, FIGURE_Y = 32, FIGURE_W = 24, FIGURE_H = 32;
constexpr int BASE_SIZE = 32;
constexpr int SCALES[] = {1, 2, 4};

// The figure on a BASE_SIZE * scale square, colour 0 transparent.
static BITMAP *icon_picture(BITMAP *sheet, const RGB *pal, int scale) {
    int size = BASE_SIZE * scale;
    BITMAP *icon = create_bitmap_ex(32, size, size);
    int left = (BASE_SIZE - FIGURE_W) / 2, top = (BASE_SIZE - FIGURE_H) / 2;
    for (int y = 0; y < size; y++)
        for (int x = 0; x < size; x++) {
            int fx = x / scale - left, fy = y / scale - top;
            bool inside = fx >= 0 && fx < FIGURE_W && fy >= 0 && fy < FIGURE_H;
            int c = inside ? getpixel(sheet, FIGURE_X + fx, FIGURE_Y + fy) : 0;
            const RGB &rgb = pal[c];
            int alpha = c ? 255 : 0;
            putpixel(icon, x, y, makeacol32(rgb.r * 255 / 63, rgb.g * 255 / 63, rgb.b * 255 / 63, alpha));
        }
    return icon;
}

int main(int argc, char **argv) {
    if (argc != 3) {
        fprintf(stderr, "usage: lamplight-icon PLAYER.pcx OUT_DIR\n");
        return 2;
    }
    install_allegro(SYSTEM_NONE, &errno, atexit);
    set_color_conversion(COLORCONV_NONE);
    PALETTE pal;
    BITMAP *sheet = load_bitmap(argv[1], pal);
    if (!sheet || bitmap_color_depth(sheet) != 8 || sheet->w < FIGURE_X + FIGURE_W ||
        sheet->h < FIGURE_Y + FIGURE_H) {
        fprintf(stderr, "%s: not the player's 8-bit sheet\n", argv[1]);
        return 1;
    }
    for (int scale : SCALES) {
        BITMAP *icon = icon_picture(sheet, pal, scale);
        std::string out = std::string(argv[2]) + "/lamplight-" + std::to_string(BASE_SIZE * scale) + ".png";
        if (save_png(out.c_str(), icon, pal) != 0) {
            fprintf(stderr, "%s: cannot write\n", out.c_str());
            return 1;
        }
        destroy_bitmap(icon);
    }
    destroy_bitmap(sheet);
    return 0;
}
