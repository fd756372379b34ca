// replay_run.cpp -- how a run ends with a recording: the trailer, the end line, the headless replay
#include "shell.h"
#include "assets.h"
#include "shell_input.h"
#include "shell_replay.h"
#include "shell_room_figures.h"
#include "view.h"
#include "files.h"
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <unistd.h>
#include <vector>

bool finish_run(const char *reason, char *end_line) {
    make_end_line(reason, input_frames, end_line);
    if (recording_active())
        finish_recording(end_line);
    if (input_source != INPUT_RECORDING)
        return true;
    room_figures_finish();
    errno = 0;
    if (printf("%s\n", end_line) >= 0 && fflush(stdout) == 0)
        return true;
    fprintf(stderr, "lamplight: the end line could not be written (%s)\n", strerror(errno ? errno : EIO));
    return false;
}

int start_headless_game() {
    install_allegro(SYSTEM_NONE, &errno, atexit);
    pending_room_change = DIR_NONE;
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
static bool save_last_frame(const char *picture, const char *recording) {
    bool pcx = ustricmp(get_extension(picture), "pcx") == 0; // else .bmp, as the options allow
    PALETTE shown;
    memcpy(shown, game_data[GAME_PALETTE].dat, sizeof shown);
    shown[0] = zero_rgb;
    std::vector<unsigned char> image;
    PACKFILE *f = open_collecting_packfile(image);
    bool made = f && (pcx ? save_pcx_pf(f, screen, shown) : save_bmp_pf(f, screen, shown)) == 0;
    if (f)
        pack_fclose(f);
    char why[160] = "out of memory";
    int fd = made ? open_output_file(picture, recording, why, sizeof why) : -1;
    int err = fd >= 0 ? write_all(fd, image.data(), (long)image.size()) : 0;
    if (fd >= 0 && close(fd) != 0 && !err)
        err = errno;
    if (err)
        snprintf(why, sizeof why, "cannot be written (%s)", strerror(err));
    bool written = fd >= 0 && !err;
    if (!written)
        fprintf(stderr, "%s: the last frame could not be written: %s\n", picture, why);
    return written;
}

int replay_headless(const char *file, const char *picture) {
    if (start_headless_game() != 0)
        return 1;
    input_source = INPUT_RECORDING;
    char end_line[160];
    bool told = finish_run(run_frame_loop(false), end_line);
    bool saved = !picture || save_last_frame(picture, file);
    shutdown_game();
    if (!saved || !told)
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
