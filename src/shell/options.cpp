// options.cpp -- the command line: the options, their checks and the usage text
#include "shell_options.h"
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <strings.h>

#ifndef LAMPLIGHT_VERSION
#define LAMPLIGHT_VERSION "unknown"
#endif

static const char usage[] =
    "usage: lamplight [options]\n"
    "  --scale N      a window N times 320x240 (N = 1..8), every pixel an NxN block\n"
    "  --scale auto   the largest such window that fits the desktop\n"
    "  --fullscreen   the whole screen, the picture scaled as large as it fits\n"
    "                 (or N times with --scale N) and centred\n"
    "  --record FILE  write the run's keys to FILE, frame by frame\n"
    "  --replay FILE  play the run recorded in FILE (Esc stops it)\n"
    "  --headless     with --replay: no window, no sound, as fast as it computes;\n"
    "                 ends with 0 when the run ends as the recording did, else 1\n"
    "  --rooms        with --replay: frames, hit points and score for each room\n"
    "  --picture FILE with --replay --headless: the run's last frame as FILE (.bmp or .pcx)\n"
    "  --controls     print the keys and gamepad buttons in use (controls.cfg) and end\n"
    "  --summary      at the end of a run, show its figures until a key is pressed\n"
    "  --version      print the version and end\n"
    "  --help         print this text and end\n"
    "With no options the game opens its plain 320x240 mode.\n";

const char *usage_text() { return usage; }

// The value of a --scale: "auto", or a whole number 1..MAX_SCALE.
static bool read_scale(const char *text, GameOptions *options) {
    if (strcmp(text, "auto") == 0) {
        options->scale_auto = true;
        options->scale = 0;
        return true;
    }
    if (strlen(text) != 1 || text[0] < '1' || text[0] > '0' + MAX_SCALE)
        return false;
    options->scale = text[0] - '0';
    options->scale_auto = false;
    return true;
}

// One line naming the option and its fault, on standard error.
static int bad_option(const char *option, const char *value, const char *what) {
    fprintf(stderr, "lamplight: %s%s%s: %s (lamplight --help lists the options)\n", option, value ? " " : "",
            value ? value : "", what);
    return 2;
}

// A picture is written in one of the two formats the game saves.
static bool picture_format_known(const char *file) {
    const char *dot = strrchr(file, '.');
    return dot && (strcasecmp(dot, ".bmp") == 0 || strcasecmp(dot, ".pcx") == 0);
}

// The options that only switch something on.
struct SwitchOption {
    const char *name;
    bool GameOptions::*flag;
};
static const SwitchOption switches[] = {
    {"--headless", &GameOptions::headless},    {"--rooms", &GameOptions::room_figures},
    {"--fullscreen", &GameOptions::fullscreen}, {"--help", &GameOptions::help},
    {"-h", &GameOptions::help},                 {"--controls", &GameOptions::show_controls},
    {"--summary", &GameOptions::summary},       {"--version", &GameOptions::version},
};

static bool GameOptions::*switch_named(const char *arg) {
    for (const SwitchOption &s : switches)
        if (strcmp(arg, s.name) == 0)
            return s.flag;
    return nullptr;
}

int parse_options(int argc, char **argv, GameOptions *options) {
    *options = GameOptions{0, false, false, false, false, nullptr, nullptr, false, false, nullptr, false, false};
    for (int i = 1; i < argc; i++) {
        const char *arg = argv[i];
        if (strcmp(arg, "--scale") == 0) {
            if (i + 1 >= argc)
                return bad_option(arg, nullptr, "needs a scale, 1..8 or auto");
            if (!read_scale(argv[++i], options))
                return bad_option(arg, argv[i], "the scale is 1..8 or auto");
        } else if (strncmp(arg, "--scale=", 8) == 0) {
            if (!read_scale(arg + 8, options))
                return bad_option(arg, nullptr, "the scale is 1..8 or auto");
        } else if (strcmp(arg, "--record") == 0 || strcmp(arg, "--replay") == 0 || strcmp(arg, "--picture") == 0) {
            if (i + 1 >= argc || argv[i + 1][0] == '\0')
                return bad_option(arg, nullptr, "needs a file name");
            const char **file = strcmp(arg, "--record") == 0   ? &options->record_file
                                : strcmp(arg, "--replay") == 0 ? &options->replay_file
                                                               : &options->picture_file;
            *file = argv[++i];
        } else if (bool GameOptions::*flag = switch_named(arg)) {
            options->*flag = true;
        } else {
            return bad_option(arg, nullptr, "unknown option");
        }
    }
    if (options->record_file && options->replay_file)
        return bad_option("--record", options->record_file, "cannot be combined with --replay");
    if (options->headless && !options->replay_file)
        return bad_option("--headless", nullptr, "only goes with --replay FILE");
    if (options->room_figures && !options->replay_file)
        return bad_option("--rooms", nullptr, "only goes with --replay FILE");
    if (options->picture_file && !options->headless)
        return bad_option("--picture", options->picture_file, "only goes with --replay FILE --headless");
    if (options->picture_file && !picture_format_known(options->picture_file))
        return bad_option("--picture", options->picture_file, "a picture is written as .bmp or .pcx");
    if (options->help) {
        fputs(usage, stdout);
        return 0;
    }
    if (options->version) {
        printf("lamplight %s\n", LAMPLIGHT_VERSION);
        return 0;
    }
    return -1;
}
