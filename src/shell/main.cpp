// main.cpp -- the entry point: options, start-up, the frame loop, shutdown
#include "shell.h"
#include "shell_gamepad.h"
#include "assets.h"
#include "shell_options.h"
#include "shell_replay.h"
#include "shell_room_figures.h"
#include "view.h"
#include "files.h"
#include "shell_controls.h"
#include "shell_summary.h"
#include <cerrno>
#include <cstdio>
#include <cstdlib>

// The files the run will write may not be what it reads (the datafiles, the
// layers, the recording replayed), nor a pipe or a device: checked before
// anything opens, and again when each is opened.
static bool outputs_allowed(const GameOptions &options) {
    for (const char *out : {options.record_file, options.picture_file}) {
        char why[160];
        if (out && !output_file_allowed(out, options.replay_file, why, sizeof why)) {
            fprintf(stderr, "%s: cannot be written: %s\n", out, why);
            return false;
        }
    }
    return true;
}

// --controls: the mapping controls.cfg gives (or the game's own) and the
// gamepad chosen; no display needed.
static int show_controls() {
    install_allegro(SYSTEM_NONE, &errno, atexit);
    if (!load_controls(CONTROLS_FILE))
        return 1;
    print_controls(stdout, controls);
    choose_gamepad(stdout);
    return 0;
}

// The game from its command line to its end; the exit status.
static int run_game(int argc, char **argv) {
    // Options: a bad one, an output that may not be written, or a bad
    // recording to replay ends the game here, before anything opens.
    GameOptions options;
    int status = parse_options(argc, argv, &options);
    if (status >= 0)
        return status;
    if (options.show_controls)
        return show_controls();
    if (!outputs_allowed(options))
        return 1;
    if (options.replay_file && !load_recording(options.replay_file))
        return 1;
    room_figures_on = options.room_figures;
    if (options.headless)
        return replay_headless(options.replay_file, options.picture_file);

    // Start-up.
    pending_room_change = DIR_NONE;
    if (allegro_init() != 0) {
        fprintf(stderr, "lamplight: cannot start: %s\n",
                allegro_error[0] ? allegro_error : "no display found (is DISPLAY set?)");
        return 1;
    }
    if (!load_controls(CONTROLS_FILE)) // a bad one stops here, before the window
        return 1;
    install_keyboard();
    watch_chosen_keys();
    install_timer();
    install_mouse();
    start_gamepad(); // none found: the keyboard alone, as ever
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
    summary_on = options.summary;
    summary_start();
    play_midi((MIDI *)game_data[MUSIC].dat, -1);
    if (options.record_file && !start_recording(options.record_file)) {
        shutdown_game();
        return 1;
    }
    if (options.replay_file)
        input_source = INPUT_RECORDING;

    // The frame loop: frame, 60 ms, input, until the end test holds.
    char end_line[160];
    const char *reason = run_frame_loop(true);
    bool told = finish_run(reason, end_line);
    show_summary(reason);

    // Shutdown. A run whose recording or end line was lost ends non-zero.
    shutdown_game();
    return told && !recording_lost() ? 0 : 1;
}

int main(int argc, char **argv) {
    keep_console_output();
    int status = run_game(argc, argv);
    show_console_output();
    return status;
}
END_OF_MAIN()
