// replay_run.cpp -- how a run ends with a recording: the trailer, the end line, the headless replay
#include "shell.h"
#include "assets.h"
#include "input.h"
#include "replay.h"
#include "room_figures.h"
#include "view.h"
#include <cerrno>
#include <cstdlib>
#include <cstring>

void finish_run(const char *reason, char *end_line) {
    make_end_line(reason, input_frames, end_line);
    if (recording_active())
        finish_recording(end_line);
    if (input_source == INPUT_RECORDING) {
        room_figures_finish();
        printf("%s\n", end_line);
        fflush(stdout);
    }
}

int start_headless_game() {
    install_allegro(SYSTEM_NONE, &errno, atexit);
    pending_room_change = 7;
    if (load_game_files() != 0)
        return 1;
    screen = create_bitmap(FRAME_W, FRAME_H);
    present_scale = 1;
    present_x = present_y = 0;
    create_buffers();
    enter_first_room();
    return 0;
}

// The frame the run showed last, in the game's palette as the screen shows
// it (colour 0 black), into a .bmp or .pcx file; false after one line.
static bool save_last_frame(const char *picture) {
    PALETTE shown;
    memcpy(shown, game_data[GAME_PALETTE].dat, sizeof shown);
    shown[0] = zero_rgb;
    if (save_bitmap(picture, screen, shown) == 0)
        return true;
    fprintf(stderr, "%s: the last frame could not be written (use .bmp or .pcx)\n", picture);
    return false;
}

int replay_headless(const char *file, const char *picture) {
    if (start_headless_game() != 0)
        return 1;
    input_source = INPUT_RECORDING;
    char end_line[160];
    finish_run(run_frame_loop(false), end_line);
    bool saved = !picture || save_last_frame(picture);
    shutdown_game();
    if (!saved)
        return 1;
    if (!loaded_recording.end_line[0]) {
        fprintf(stderr, "%s: no end line (the recording was cut short): nothing to compare\n", file);
        return 1;
    }
    if (strcmp(end_line, loaded_recording.end_line) != 0) {
        fprintf(stderr, "%s: the replay ended otherwise than the recording\n  recorded: %s\n  replayed: %s\n", file,
                loaded_recording.end_line, end_line);
        return 1;
    }
    return 0;
}
