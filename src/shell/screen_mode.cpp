// screen_mode.cpp -- opening the graphics mode the options ask for, and where the frame goes in it
#include "shell.h"
#include "shell_options.h"
#include "view.h"
#include <cstdio>

int auto_scale(int desktop_w, int desktop_h) {
    // Leave about a tenth of each side for the window's frame and a panel bar.
    int room_w = desktop_w * 9 / 10, room_h = desktop_h * 9 / 10;
    int scale = 1;
    while (scale < MAX_SCALE && FRAME_W * (scale + 1) <= room_w && FRAME_H * (scale + 1) <= room_h)
        scale++;
    return scale;
}

void place_frame(int screen_w, int screen_h, int largest) {
    int scale = screen_w / FRAME_W < screen_h / FRAME_H ? screen_w / FRAME_W : screen_h / FRAME_H;
    scale = scale < largest ? scale : largest;
    present_scale = scale < 1 ? 1 : scale;
    present_x = (screen_w - FRAME_W * present_scale) / 2;
    present_y = (screen_h - FRAME_H * present_scale) / 2;
}

// A window of `scale` times the frame.
static int open_window(int scale) {
    if (set_gfx_mode(GFX_AUTODETECT_WINDOWED, FRAME_W * scale, FRAME_H * scale, 0, 0) != 0) {
        fprintf(stderr, "lamplight: cannot open a %dx%d window: %s\n", FRAME_W * scale, FRAME_H * scale,
                allegro_error);
        return 1;
    }
    present_scale = scale;
    present_x = present_y = 0;
    return 0;
}

static int open_auto_window() {
    int w, h;
    if (get_desktop_resolution(&w, &h) != 0)
        w = h = 0; // unknown desktop: the smallest window
    return open_window(auto_scale(w, h));
}

// The whole screen, the frame at `scale` (0: the largest that fits) and centred.
static int open_fullscreen(int scale) {
    int w, h;
    if (get_desktop_resolution(&w, &h) == 0 && set_gfx_mode(GFX_AUTODETECT_FULLSCREEN, w, h, 0, 0) == 0) {
        place_frame(SCREEN_W, SCREEN_H, scale > 0 ? scale : MAX_SCALE);
        if (scale > present_scale)
            fprintf(stderr, "lamplight: --scale %d does not fit a %dx%d screen; using %d\n", scale, SCREEN_W,
                    SCREEN_H, present_scale);
        return 0;
    }
    fprintf(stderr, "lamplight: no fullscreen mode (%s); using a scaled window instead\n", allegro_error);
    return open_auto_window();
}

int open_game_screen(const GameOptions &options) {
    int status;
    if (options.fullscreen)
        status = open_fullscreen(options.scale);
    else if (options.scale_auto)
        status = open_auto_window();
    else if (options.scale > 0)
        status = open_window(options.scale);
    else if ((status = set_gfx_mode(GFX_AUTODETECT, FRAME_W, FRAME_H, 0, 0)) != 0)
        fprintf(stderr, "lamplight: cannot set a 320x240 graphics mode: %s\n", allegro_error);
    if (status == 0)
        set_window_title("lamplight");
    return status == 0 ? 0 : 1;
}
