// test_options.cpp -- the command line: every option, good and bad
#include <gtest/gtest.h>
#include "shell_options.h"
#include "shell_controls.h"
#include "test_support.h"
#include <cstring>
#include <string>
#include <vector>

// Parses `args` (after the program name); the status and both output streams.
struct Parsed {
    int status;
    GameOptions options;
    std::string out, err;
};
static Parsed parse(std::vector<const char *> args) {
    std::vector<char *> argv = {(char *)"lamplight"};
    for (const char *a : args)
        argv.push_back((char *)a);
    Parsed p;
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    p.status = parse_options((int)argv.size(), argv.data(), &p.options);
    p.out = testing::internal::GetCapturedStdout();
    p.err = testing::internal::GetCapturedStderr();
    return p;
}

TEST(Options, GoodFormsSetScaleAutoAndFullscreenAndLetTheGameStart) {
    const struct { std::vector<const char *> args; int scale; bool automatic, fullscreen; } cases[] = {
        {{}, 0, false, false},
        {{"--scale", "1"}, 1, false, false},
        {{"--scale", "8"}, 8, false, false},
        {{"--scale=3"}, 3, false, false},
        {{"--scale", "auto"}, 0, true, false},
        {{"--scale", "auto", "--scale", "2"}, 2, false, false}, // the last one counts
        {{"--scale", "auto", "--fullscreen"}, 0, true, true},   // what play.sh --fullscreen passes
        {{"--scale", "2", "--record", "run.rec"}, 2, false, false},
        {{"--fullscreen", "--scale", "2"}, 2, false, true}, // the whole screen, the picture twice as large
    };
    for (const auto &c : cases) {
        Parsed p = parse(c.args);
        SCOPED_TRACE(c.args.empty() ? "none" : c.args[0]);
        EXPECT_EQ(p.status, -1);
        EXPECT_EQ(p.options.scale, c.scale);
        EXPECT_EQ(p.options.scale_auto, c.automatic);
        EXPECT_EQ(p.options.fullscreen, c.fullscreen);
        EXPECT_EQ(p.out + p.err, "");
    }
}

TEST(Options, RecordAndReplayTakeTheirFilesAndTheHeadlessAndRoomsSwitches) {
    Parsed record = parse({"--record", "run.rec"});
    EXPECT_EQ(record.status, -1);
    EXPECT_STREQ(record.options.record_file, "run.rec");
    EXPECT_EQ(record.options.replay_file, nullptr);
    Parsed replay = parse({"--rooms", "--replay", "world/solution.rec", "--headless"});
    EXPECT_EQ(replay.status, -1);
    EXPECT_STREQ(replay.options.replay_file, "world/solution.rec");
    EXPECT_TRUE(replay.options.headless && replay.options.room_figures);
    EXPECT_EQ(replay.options.record_file, nullptr);
    Parsed pictured = parse({"--replay", "run.rec", "--headless", "--picture", "last.bmp"});
    EXPECT_EQ(pictured.status, -1);
    EXPECT_STREQ(pictured.options.picture_file, "last.bmp");
    Parsed watched = parse({"--replay", "run.rec", "--scale", "3"});
    EXPECT_FALSE(watched.options.headless || watched.options.room_figures);
    EXPECT_EQ(watched.options.scale, 3);
}

// --help lists every option the game takes; --version tells the project's
// version, the one CMake's project() sets.
TEST(Options, HelpAndVersionPrintOnStandardOutputAndEndWithZero) {
    Parsed help = parse({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_EQ(help.err, "");
    for (const char *option : {"--scale N", "--scale auto", "--fullscreen", "--record FILE", "--replay FILE",
                               "--headless", "--rooms", "--picture FILE", "--controls", "--summary", "--version",
                               "--help"})
        EXPECT_NE(help.out.find(std::string("  ") + option), std::string::npos) << option;
    Parsed version = parse({"--version"});
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out, std::string("lamplight ") + LAMPLIGHT_VERSION + "\n");
    EXPECT_EQ(version.err, "");
}

TEST(Options, BadOptionsNameThemselvesInOneLineWithStatusTwo) {
    const struct { std::vector<const char *> args; const char *line; } cases[] = {
        {{"--scale", "0"}, "lamplight: --scale 0: the scale is 1..8 or auto\n"},
        {{"--scale", "9"}, "lamplight: --scale 9: the scale is 1..8 or auto\n"},
        {{"--scale", "x"}, "lamplight: --scale x: the scale is 1..8 or auto\n"},
        {{"--scale", "-3"}, "lamplight: --scale -3: the scale is 1..8 or auto\n"},
        {{"--scale"}, "lamplight: --scale: needs a scale, 1..8 or auto\n"},
        {{"--scale="}, "lamplight: --scale=: the scale is 1..8 or auto\n"},
        {{"--bogus"}, "lamplight: --bogus: unknown option\n"},
        {{"--help", "--bogus"}, "lamplight: --bogus: unknown option\n"}, // checked before anything is printed
        {{"3"}, "lamplight: 3: unknown option\n"},
        {{"--record"}, "lamplight: --record: needs a file name\n"},
        {{"--replay", ""}, "lamplight: --replay: needs a file name\n"},
        {{"--record", "a.rec", "--replay", "b.rec"}, "lamplight: --record a.rec: cannot be combined with --replay\n"},
        {{"--headless"}, "lamplight: --headless: only goes with --replay FILE\n"},
        {{"--rooms", "--record", "a.rec"}, "lamplight: --rooms: only goes with --replay FILE\n"},
        {{"--replay", "a.rec", "--picture", "p.bmp"}, "lamplight: --picture p.bmp: only goes with --replay FILE --headless\n"},
        {{"--picture"}, "lamplight: --picture: needs a file name\n"},
        {{"--replay", "a.rec", "--headless", "--picture", "map.map"},
         "lamplight: --picture map.map: a picture is written as .bmp or .pcx\n"},
    };
    for (const auto &c : cases) {
        Parsed p = parse(c.args);
        EXPECT_EQ(p.status, 2) << c.line;
        std::string line = c.line;
        EXPECT_EQ(p.err, line.insert(line.size() - 1, " (lamplight --help lists the options)"));
        EXPECT_EQ(p.out, "");
    }
}


// controls.cfg: what a file binds, and each fault with its line.
TEST(Options, ControlsFileBindsKeysAndNamesTheLineOfEachFault) {
    start_headless();
    const struct {
        const char *text, *why; // why: "" for a good file
    } cases[] = {
        {"", ""},
        {"# only a comment\n[keys]\n\n[gamepad]\n", ""},
        {"[keys]\nshoot = X\nghost = z\n", ""},
        {"[Keys]\r\nbomb = 0 PAD, B\r\nquit = ESC, Q\r\n[gamepad]\nquit = 8, 9\n", ""},
        {"[keys]\njump = X\n", "line 2: unknown action \"jump\""},
        {"[keys]\nshoot = FOO\n", "line 2: unknown key \"FOO\""},
        {"[keys]\n\nshoot = X\nghost = X\n", "line 4: X is bound to both shoot and ghost"},
        {"[keys]\nshoot = SPACE\n", "line 2: SPACE is bound to both shoot and bomb"},
        {"[keys]\nghost = M\n", "line 2: M opens an editor"},
        {"[keys]\nbomb = ESC\n", "line 2: ESC ends the game: it cannot be bomb"},
        {"[keys]\nshoot = X, Y, Z\n", "line 2: at most two keys for shoot"},
        {"[keys]\nshoot =\n", "line 2: shoot names no key"},
        {"[keys]\nshoot = X\nshoot = Y\n", "line 3: shoot is set twice"},
        {"shoot = X\n", "line 1: a setting before [keys] or [gamepad]"},
        {"[keys]\nshoot X\n", "line 2: not a setting"},
        {"[controls]\n", "line 1: unknown section [controls]"},
        {"[gamepad]\nshoot = 40\n", "line 2: shoot names one button, a number 0..31"},
        {"[gamepad]\nquit = 6\n", "line 2: quit names two buttons"},
        {"[gamepad]\njump = 1\n", "line 2: unknown gamepad action \"jump\""},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.text);
        Controls read;
        char why[300] = "";
        bool good = parse_controls(c.text, strlen(c.text), "controls.cfg", &read, why, sizeof why);
        EXPECT_EQ(good, c.why[0] == '\0') << why;
        if (!good) {
            EXPECT_EQ(std::string(why).rfind(std::string("controls.cfg: ") + c.why, 0), 0u) << why;
        }
    }
    Controls read;
    char why[300];
    const char *mixed = "[keys]\nbomb = 0 PAD, B\nquit = ESC, Q\n[gamepad]\nghost = 5\nquit = 8, 9\n";
    ASSERT_TRUE(parse_controls(mixed, strlen(mixed), "c", &read, why, sizeof why));
    EXPECT_EQ(read.keys[ACTION_BOMB][0], KEY_0_PAD);
    EXPECT_EQ(read.keys[ACTION_BOMB][1], KEY_B);
    EXPECT_EQ(read.keys[ACTION_QUIT][0], KEY_Q); // Esc ends anyway
    EXPECT_EQ(read.keys[ACTION_SHOOT][0], KEY_ALT);
    EXPECT_EQ(read.pad_ghost, 5);
    EXPECT_EQ(read.pad_quit[1], 9);
    // What --controls prints (and the launcher's first copy) reads back as itself.
    for (const Controls *c : {&DEFAULT_CONTROLS, (const Controls *)&read}) {
        char *text = nullptr;
        size_t size = 0;
        FILE *out = open_memstream(&text, &size);
        print_controls(out, *c);
        fclose(out);
        Controls again;
        EXPECT_TRUE(parse_controls(text, size, "c", &again, why, sizeof why)) << why;
        EXPECT_EQ(memcmp(&again, c, sizeof again), 0) << text;
        free(text);
    }
}
