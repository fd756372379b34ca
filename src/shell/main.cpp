// main.cpp -- the entry point: options, start-up, the frame loop, shutdown
#include "shell.h"
#include "assets.h"
#include "options.h"
#include "view.h"
#include <cstdio>

int main(int argc, char **argv) {
    // Options: a bad one ends the game here, before anything opens.
    GameOptions options;
    int status = parse_options(argc, argv, &options);
    if (status >= 0)
        return status;

    // Start-up.
    pending_room_change = 7;
    if (allegro_init() != 0) {
        fprintf(stderr, "lamplight: cannot start: %s\n",
                allegro_error[0] ? allegro_error : "no display found (is DISPLAY set?)");
        return 1;
    }
    install_keyboard();
    install_timer();
    install_mouse();
    if (init_sound() < 0)
        return -1;
    if (load_game_files() != 0)
        return 1;
    if (open_game_screen(options) != 0) {
        shutdown_game();
        return 1;
    }
    present_fill(240);
    create_buffers();
    set_palette((RGB *)game_data[GAME_PALETTE].dat);
    reset_colour_zero();
    enter_first_room();
    play_midi((MIDI *)game_data[MUSIC].dat, -1);

    // The frame loop.
    do {
        frame_update_and_draw();
        rest(60);
        frame_input();
    } while (!game_should_end());

    // Shutdown.
    shutdown_game();
    return 0;
}
END_OF_MAIN()
