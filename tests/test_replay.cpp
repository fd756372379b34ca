// test_replay.cpp -- the input seam, recordings written and read back, the end line, per-room figures
#include <gtest/gtest.h>
#include "test_support.h"
#include "shell_input.h"
#include "map.h"
#include "player.h"
#include "shell_replay.h"
#include "shell_room_figures.h"
#include "shell.h"
#include "view.h"
#include <cstdio>
#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <string>
#include <unistd.h>
#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>

// Each test runs in a fresh folder holding the three layer files of a small
// world, which recordings are checked against.
class Replay : public testing::Test {
  protected:
    SavedWorld world;
    void SetUp() override {
        ASSERT_TRUE(enter_saved_world(world, 200, 200, 72, 72));
        input_source = INPUT_KEYBOARD;
        input_frames = 0;
    }
    void TearDown() override {
        finish_recording("end=esc frames=0 score=0 hp=0 bombs=0 x=0 y=0 view=0,0"); // if a test left one open
        input_source = INPUT_KEYBOARD;
        room_figures_on = false;
        release_all_input();
        leave_saved_world(world);
    }
};

static std::string read_file(const char *name) {
    std::vector<unsigned char> bytes = file_bytes(name);
    return std::string(bytes.begin(), bytes.end());
}

static void write_file(const char *name, const std::string &text) {
    std::ofstream(name) << text;
}

// The header a recording made in the test folder starts with.
static std::string header() {
    std::string h = "lamplight-recording 1\n";
    for (const char *layer : {"map.map", "obj.map", "mob.map"}) {
        long size;
        unsigned sum;
        char why[160];
        EXPECT_TRUE(file_fingerprint(layer, &size, &sum, why, sizeof why)) << why;
        char line[80];
        snprintf(line, sizeof line, "layer %s %ld %08x\n", layer, size, sum);
        h += line;
    }
    return h;
}

// Holds exactly `keys` on the keyboard.
static void hold(std::initializer_list<int> keys) {
    release_all_input();
    for (int k : keys)
        key[k] = 1;
}

TEST_F(Replay, ARecordedRunReadsBackFrameForFrame) {
    ASSERT_TRUE(start_recording("run.rec"));
    hold({KEY_RIGHT, KEY_ALT});
    HeldKeys first = next_frame_keys();
    EXPECT_TRUE(is_held(first, PLAY_RIGHT) && is_held(first, PLAY_ALT) && !is_held(first, PLAY_LEFT));
    hold({});
    next_frame_keys();
    hold({KEY_UP, KEY_LCONTROL, KEY_SPACE, KEY_F}); // F is no key of play
    next_frame_keys();
    hold({KEY_ESC, KEY_LEFT, KEY_DOWN, KEY_RCONTROL, KEY_O});
    next_frame_keys();
    EXPECT_EQ(input_frames, 4);
    finish_recording("end=esc frames=4 score=0 hp=200 bombs=0 x=120 y=160 view=66,151");
    EXPECT_FALSE(recording_active());
    EXPECT_EQ(read_file("run.rec"),
              header() + "AR\n-\nUSC\nLDKOX\nend=esc frames=4 score=0 hp=200 bombs=0 x=120 y=160 view=66,151\n");

    ASSERT_TRUE(load_recording("run.rec"));
    EXPECT_EQ(loaded_recording.frame_count, 4);
    EXPECT_STREQ(loaded_recording.end_line, "end=esc frames=4 score=0 hp=200 bombs=0 x=120 y=160 view=66,151");
    // Replayed, the frames come back in order into key[], and no more after the last.
    input_source = INPUT_RECORDING;
    hold({KEY_UP}); // the keyboard is not read, but for Esc
    HeldKeys replayed[5];
    for (HeldKeys &h : replayed) {
        h = next_frame_keys();
        apply_held_keys(h);
        if (&h == replayed) {
            EXPECT_TRUE(key[KEY_RIGHT] && key[KEY_ALT] && !key[KEY_UP]) << "the first frame's keys in key[]";
        }
    }
    EXPECT_EQ(replayed[0].bits, first.bits);
    EXPECT_EQ(replayed[1].bits, 0u);
    EXPECT_TRUE(is_held(replayed[2], PLAY_LCONTROL) && !is_held(replayed[2], PLAY_RCONTROL));
    EXPECT_EQ(replay_position, 4);
    EXPECT_TRUE(is_held(replayed[3], PLAY_ESC));
    EXPECT_TRUE(key[KEY_ESC]) << "the last frame applied held Esc";
    // A real Esc is added to a watched replay; here the last applied frame held it.
    EXPECT_EQ(replayed[4].bits, 1u << PLAY_ESC);
}

TEST_F(Replay, ReplayedFramesDriveThePlayerThroughTheKeyArray) {
    write_file("walk.rec", header() + "R\nR\nR\n-\nend=input-ended frames=4 score=0 hp=200 bombs=0 x=129 y=160 view=66,151\n");
    ASSERT_TRUE(load_recording("walk.rec"));
    input_source = INPUT_RECORDING;
    release_all_input();
    for (int i = 0; i < 4; i++) {
        frame_update_and_draw();
        frame_input();
    }
    EXPECT_EQ(player_x, 120 + 3 * 3);
    EXPECT_EQ(hold_frames, 0);
    char line[160];
    make_end_line(end_reason("input-ended"), input_frames, line);
    EXPECT_STREQ(line, loaded_recording.end_line);
}

TEST_F(Replay, AnEditorOpeningEndsTheRecordingWhichCannotBeReplayed) {
    input_source = INPUT_KEYBOARD;
    input_frames = 0;
    ASSERT_TRUE(start_recording("edit.rec"));
    hold({KEY_RIGHT});
    next_frame_keys();
    hold({KEY_LCONTROL, KEY_RCONTROL, KEY_M});
    next_frame_keys();
    EXPECT_FALSE(recording_active()) << "the recording ends where the editor opens";
    hold({KEY_LEFT});
    next_frame_keys();
    char expected[160];
    make_end_line("editor", 2, expected);
    EXPECT_EQ(read_file("edit.rec"), header() + "R\nCKM\n" + expected + "\n");
    testing::internal::CaptureStderr();
    EXPECT_FALSE(load_recording("edit.rec"));
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "edit.rec: line 6: the keys open an editor: a run with editing cannot be replayed\n");
}

TEST_F(Replay, EveryDamagedRecordingIsRefusedWithOneLineNamingTheFault) {
    const std::string h = header();
    const std::string end = "end=goal frames=1 score=0 hp=200 bombs=0 x=1 y=2 view=3,4\n";
    const struct { std::string text; const char *line; } cases[] = {
        {"", "bad.rec: empty: not a recording"},
        {"hello\n", "bad.rec: line 1: not a lamplight recording (it should start with \"lamplight-recording 1\")"},
        {"lamplight-recording 2\n", "bad.rec: line 1: version 2 is unknown (this game reads version 1)"},
        {"lamplight-recording 1x\n", "bad.rec: line 1: not a lamplight recording (it should start with \"lamplight-recording 1\")"},
        {"lamplight-recording 1\n", "bad.rec: ends inside its header"},
        {"lamplight-recording 1\nlayer obj.map 1 0\n", "bad.rec: line 2: should be \"layer map.map SIZE CHECKSUM\""},
        {"lamplight-recording 1\nlayer map.map 12 zz\n", "bad.rec: line 2: should be \"layer map.map SIZE CHECKSUM\""},
        {h + "R\nRQ\n" + end, "bad.rec: line 6: 'Q' is not a key of a recording (L R U D A S C K E O M X, or -)"},
        {h + "R\n\n" + end, "bad.rec: line 6: an empty line (a frame with no key held is \"-\")"},
        {h + "CKE\n" + end, "bad.rec: line 5: the keys open an editor: a run with editing cannot be replayed"},
        {h + "R\nend=goal frames=1 score=0\n", "bad.rec: line 6: a damaged end line"},
        {h + "R\nend=goal frames=1 score=0 hp=200 bombs=0 x=1 y=2 view=3,4 extra\n", "bad.rec: line 6: a damaged end line"},
        {h + "R\nR\n" + end, "bad.rec: line 7: the end line counts 1 frames, the recording holds 2"},
        {h + "R\n" + end + "R\n", "bad.rec: line 7: more lines after the end line"},
        {h + std::string(300, 'R') + "\n", "bad.rec: line 5: too long"},
        {h + std::string("R\0CKE\n", 6) + end, "bad.rec: line 5: holds a zero byte: not a recording's text"},
        {h + "R\n" + end.substr(0, end.size() - 1) + std::string("\0x\n", 3),
         "bad.rec: line 6: holds a zero byte: not a recording's text"},
    };
    for (const auto &c : cases) {
        write_file("bad.rec", c.text);
        testing::internal::CaptureStderr();
        EXPECT_FALSE(load_recording("bad.rec")) << c.line;
        EXPECT_EQ(testing::internal::GetCapturedStderr(), std::string(c.line) + "\n");
    }
    // A good one for contrast, and one cut short (no end line) that still loads.
    write_file("good.rec", h + "R\n" + end);
    EXPECT_TRUE(load_recording("good.rec"));
    write_file("cut.rec", h + "R\nL\n");
    EXPECT_TRUE(load_recording("cut.rec"));
    EXPECT_EQ(loaded_recording.frame_count, 2);
    EXPECT_STREQ(loaded_recording.end_line, "");
}

TEST_F(Replay, ARecordingMadeOnOtherLayerFilesOrMissingNamesTheFile) {
    write_file("run.rec", header() + "R\n");
    putpixel(object_layer, 70, 155, 1); // the world changes after the recording
    save_layer(1);
    testing::internal::CaptureStderr();
    EXPECT_FALSE(load_recording("run.rec"));
    std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(err.rfind("run.rec: recorded on other layer files: obj.map differs (recorded ", 0), 0u) << err;
    EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1);
    // The same size with other contents: the sum alone tells.
    std::string other_sum = header();
    other_sum[other_sum.find("\nlayer mob.map") - 1] ^= 1;
    write_file("run.rec", other_sum + "R\n");
    testing::internal::CaptureStderr();
    EXPECT_FALSE(load_recording("run.rec"));
    EXPECT_NE(testing::internal::GetCapturedStderr().find("obj.map differs"), std::string::npos);
    // Neither the recording nor a layer is waited on or read when it is no
    // file: each gives one line naming it.
    mkdir("folder.rec", 0755);
    mkfifo("pipe.rec", 0600);
    const struct { const char *file, *line; } refused[] = {
        {"none.rec", "none.rec: cannot read the recording: file not found\n"},
        {"folder.rec", "folder.rec: cannot read the recording: is a folder, not a file\n"},
        {"pipe.rec", "pipe.rec: cannot read the recording: is a named pipe, not a file\n"},
    };
    for (const auto &r : refused) {
        testing::internal::CaptureStderr();
        EXPECT_FALSE(load_recording(r.file));
        EXPECT_EQ(testing::internal::GetCapturedStderr(), r.line);
    }
    write_file("run.rec", header() + "R\n");
    remove("mob.map");
    mkfifo("mob.map", 0600);
    testing::internal::CaptureStderr();
    EXPECT_FALSE(load_recording("run.rec"));
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "run.rec: mob.map here is a named pipe, not a file: cannot compare it with the recorded one\n");
}

// A recording never replaces what the game reads, nor waits on a pipe; a
// write that fails mid-run says so once, and play goes on unrecorded.
TEST_F(Replay, ARecordingIsNeverWrittenOverAnInputAndAFailedWriteIsTold) {
    symlink("map.map", "link.rec");
    mkfifo("pipe.rec", 0600);
    const struct { const char *file, *line; } refused[] = {
        {"mob.map", "mob.map: cannot write the recording: is mob.map, which the game reads: write to another name\n"},
        {"link.rec", "link.rec: cannot write the recording: is map.map, which the game reads: write to another name\n"},
        {"pipe.rec", "pipe.rec: cannot write the recording: is a named pipe, not a file\n"},
    };
    std::string map_before = read_file("map.map");
    for (const auto &r : refused) {
        testing::internal::CaptureStderr();
        EXPECT_FALSE(start_recording(r.file));
        EXPECT_EQ(testing::internal::GetCapturedStderr(), r.line);
    }
    EXPECT_EQ(read_file("map.map"), map_before);

    // A disk that fills after the header: the one line, then nothing more.
    ASSERT_TRUE(start_recording("full.rec"));
    struct rlimit saved;
    getrlimit(RLIMIT_FSIZE, &saved);
    struct rlimit small = saved;
    small.rlim_cur = read_file("full.rec").size();
    signal(SIGXFSZ, SIG_IGN);
    setrlimit(RLIMIT_FSIZE, &small);
    testing::internal::CaptureStderr();
    hold({KEY_RIGHT});
    next_frame_keys();
    next_frame_keys();
    setrlimit(RLIMIT_FSIZE, &saved);
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "full.rec: the recording could not be written (File too large); the run goes on unrecorded\n");
    EXPECT_TRUE(recording_lost());
    EXPECT_FALSE(recording_active());
}

TEST_F(Replay, TheEndLineGivesTheReasonInTheEndTestsOrderAndTheStateAsThePanelShowsIt) {
    player_hp = 12345;
    score = 250;
    bombs = 3;
    player_x = 95;
    player_y = -4;
    view_tx = 51;
    view_ty = 166;
    char line[160];
    make_end_line("goal", 588, line);
    EXPECT_STREQ(line, "end=goal frames=588 score=250 hp=123 bombs=3 x=95 y=-4 view=51,166");
    // The end test: none holds at 1 hit point; then each in its order wins
    // over those after it (0 hit points are death, as are fewer).
    player_hp = 1;
    EXPECT_STREQ(end_reason("input-ended"), "input-ended");
    EXPECT_FALSE(game_should_end());
    game_over = 1;
    EXPECT_STREQ(end_reason("input-ended"), "goal");
    key[KEY_ESC] = 1;
    EXPECT_STREQ(end_reason("input-ended"), "esc");
    player_hp = 0;
    EXPECT_STREQ(end_reason("input-ended"), "died");
    player_hp = -3;
    EXPECT_TRUE(game_should_end());
    game_over = 0;
}

TEST_F(Replay, RoomFiguresCountFramesHitPointsAndScorePerRoomEntered) {
    room_figures_on = true;
    testing::internal::CaptureStdout();
    // Three frames in the room at (66, 151): hurt twice, a coin, a heart.
    const struct { int left, top, hp_change, score_change; } frames[] = {
        {66, 151, -4, 0}, {66, 151, -8, 50}, {66, 151, 1000, 0}, {81, 151, 0, 100}, {81, 151, -150, 0}, {66, 151, 0, 0}};
    for (const auto &f : frames) {
        room_left = f.left;
        room_top = f.top;
        room_figures_frame_begin();
        player_hp += f.hp_change;
        score += f.score_change;
        room_figures_frame_end();
    }
    room_figures_finish();
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "room=66,151 frames=3 hp_lost=0.12 hp_gained=10.00 score=50\n"
              "room=81,151 frames=2 hp_lost=1.50 hp_gained=0.00 score=100\n"
              "room=66,151 frames=1 hp_lost=0.00 hp_gained=0.00 score=0\n");
}
