// test_options.cpp -- the command line: every option, good and bad
#include <gtest/gtest.h>
#include "shell_options.h"
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

TEST(Options, HelpAndVersionPrintOnStandardOutputAndEndWithZero) {
    Parsed help = parse({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_EQ(help.out, usage_text());
    EXPECT_NE(help.out.find("--fullscreen"), std::string::npos);
    EXPECT_EQ(help.err, "");
    Parsed version = parse({"--version"});
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out, "lamplight 1.1.0\n");
    EXPECT_EQ(version.err, "");
}

TEST(Options, BadOptionsNameThemselvesInOneLineWithStatusTwo) {
    const struct { std::vector<const char *> args; const char *line; } cases[] = {
        {{"--scale", "0"}, "lamplight: --scale 0: the scale is 1..8 or auto\n"},
        {{"--scale", "9"}, "lamplight: --scale 9: the scale is 1..8 or auto\n"},
        {{"--scale", "x"}, "lamplight: --scale x: the scale is 1..8 or auto\n"},
        {{"--scale", "12"}, "lamplight: --scale 12: the scale is 1..8 or auto\n"},
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

