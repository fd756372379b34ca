// test_file_safety.cpp -- no save loses a layer, no input file hangs or fools the loaders
#include <gtest/gtest.h>
#include "test_support.h"
#include "assets.h"
#include "editors.h"
#include "files.h"
#include "map.h"
#include <algorithm>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <random>
#include <string>
#include <vector>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// A side x side layer of varied codes (so that its PCX does not shrink to
// nothing), `which` telling two contents apart.
BITMAP *varied_layer(int side, int which) {
    BITMAP *bmp = create_bitmap_ex(8, side, side);
    for (int y = 0; y < side; y++)
        for (int x = 0; x < side; x++)
            putpixel(bmp, x, y, (x * 7 + y * 13 + which * 101) & 255);
    return bmp;
}

std::vector<std::string> folder_entries(const std::string &dir) {
    std::vector<std::string> names;
    DIR *d = opendir(dir.c_str());
    while (struct dirent *e = d ? readdir(d) : nullptr)
        if (strcmp(e->d_name, ".") && strcmp(e->d_name, ".."))
            names.push_back(e->d_name);
    if (d)
        closedir(d);
    std::sort(names.begin(), names.end());
    return names;
}

// Saves `bmp` to `file` in a child process whose files may grow to `limit`
// bytes at most (SIGXFSZ ignored, so writes past it fail with EFBIG).
// Returns the child's standard error; *status the save's result.
std::string save_with_file_limit(const std::string &file, BITMAP *bmp, long limit, int *status) {
    int err[2];
    if (pipe(err) != 0)
        return "pipe failed";
    pid_t pid = fork();
    if (pid == 0) {
        dup2(err[1], 2);
        signal(SIGXFSZ, SIG_IGN);
        struct rlimit lim = {(rlim_t)limit, (rlim_t)limit};
        setrlimit(RLIMIT_FSIZE, &lim);
        PALETTE pal = {};
        _exit(write_layer_file(file.c_str(), bmp, pal) == 0 ? 0 : 1);
    }
    close(err[1]);
    std::string out;
    char buf[256];
    ssize_t n;
    while ((n = read(err[0], buf, sizeof buf)) > 0)
        out.append(buf, n);
    close(err[0]);
    int wstatus = 0;
    waitpid(pid, &wstatus, 0);
    *status = WIFEXITED(wstatus) ? WEXITSTATUS(wstatus) : -1;
    return out;
}

// Runs `what` and kills the process if it takes longer than 10 s: a load
// that blocks fails the test instead of hanging it.
template <typename F> void within_ten_seconds(F what) {
    signal(SIGALRM, SIG_DFL);
    alarm(10);
    what();
    alarm(0);
}

} // namespace

// The layer file on a disk that fills up part-way, at several sizes: in the
// first block, at a block boundary, inside the last block and one byte short.
TEST(SaveOnFullDisk, OldFileStaysByteForByteAndOneLineNamesIt) {
    start_headless();
    std::string dir = temp_dir();
    std::string file = dir + "/map.map";
    BITMAP *old_layer = varied_layer(40, 0), *new_layer = varied_layer(300, 1);
    PALETTE pal = {};
    ASSERT_EQ(write_layer_file(file.c_str(), old_layer, pal), 0);
    const std::vector<unsigned char> old_bytes = file_bytes(file);
    std::vector<unsigned char> new_bytes;
    encode_pcx(new_layer, pal, new_bytes);
    long full = (long)new_bytes.size();
    ASSERT_GT(full, 8192);
    for (long limit : {0L, 100L, 4096L, full - full % 4096 + 1, full - 1}) {
        SCOPED_TRACE("file size limit " + std::to_string(limit) + " of " + std::to_string(full));
        int status = -1;
        std::string err = save_with_file_limit(file, new_layer, limit, &status);
        EXPECT_EQ(status, 1);
        EXPECT_EQ(file_bytes(file), old_bytes);
        EXPECT_EQ(err.rfind(file + ": not saved: writing failed: File too large", 0), 0u) << err;
        EXPECT_NE(err.find("the old file is kept"), std::string::npos) << err;
        EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
        EXPECT_EQ(folder_entries(dir), std::vector<std::string>{"map.map"});
    }
    int status = -1;
    save_with_file_limit(file, new_layer, full, &status);
    EXPECT_EQ(status, 0) << "a limit of exactly the file's size is enough";
    EXPECT_EQ(file_bytes(file), new_bytes);
    destroy_bitmap(old_layer);
    destroy_bitmap(new_layer);
}

// Saves through a symbolic link write the link's target, keep its mode, and
// leave the link a link; leftovers of killed saves are cleared, other files
// beside the layer are not.
TEST(SaveTargets, LinksFoldersAndLeftovers) {
    start_headless();
    std::string dir = temp_dir();
    BITMAP *bmp = varied_layer(20, 1);
    PALETTE pal = {};
    std::vector<unsigned char> expected;
    encode_pcx(bmp, pal, expected);

    mkdir((dir + "/worlds").c_str(), 0755);
    std::string target = dir + "/worlds/mine.map";
    BITMAP *old_layer = varied_layer(10, 0);
    ASSERT_EQ(write_layer_file(target.c_str(), old_layer, pal), 0);
    chmod(target.c_str(), 0640);
    ASSERT_EQ(symlink("worlds/mine.map", (dir + "/map.map").c_str()), 0);
    ASSERT_EQ(write_layer_file((dir + "/map.map").c_str(), bmp, pal), 0);
    struct stat st;
    ASSERT_EQ(lstat((dir + "/map.map").c_str(), &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode)) << "the link was replaced by a plain file";
    EXPECT_EQ(file_bytes(target), expected);
    ASSERT_EQ(stat(target.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);

    // A dangling link: its target is made.
    ASSERT_EQ(symlink("worlds/new.map", (dir + "/obj.map").c_str()), 0);
    ASSERT_EQ(write_layer_file((dir + "/obj.map").c_str(), bmp, pal), 0);
    EXPECT_EQ(file_bytes(dir + "/worlds/new.map"), expected);

    // A link to a device is refused: the device keeps its mode.
    struct stat null_before, null_after;
    ASSERT_EQ(stat("/dev/null", &null_before), 0);
    ASSERT_EQ(symlink("/dev/null", (dir + "/mob.map").c_str()), 0);
    testing::internal::CaptureStderr();
    EXPECT_EQ(write_layer_file((dir + "/mob.map").c_str(), bmp, pal), -1);
    std::string err = testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find("mob.map: not saved: it is not a regular file"), std::string::npos) << err;
    ASSERT_EQ(stat("/dev/null", &null_after), 0);
    EXPECT_EQ(null_after.st_mode, null_before.st_mode);
    EXPECT_TRUE(S_ISCHR(null_after.st_mode));

    // A folder in the layer's place: refused, and no "old file is kept".
    std::string folder_dir = temp_dir();
    mkdir((folder_dir + "/map.map").c_str(), 0755);
    testing::internal::CaptureStderr();
    EXPECT_EQ(write_layer_file((folder_dir + "/map.map").c_str(), bmp, pal), -1);
    err = testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find("it is a folder, not a file; nothing was written"), std::string::npos) << err;
    EXPECT_EQ(err.find("old file"), std::string::npos) << err;

    // A chain of 17 links is refused, its last link left a link; one of 16
    // is followed to its end.
    for (int length : {17, 16}) {
        std::string chain = temp_dir();
        for (int i = 0; i < length; i++)
            symlink(("l" + std::to_string(i + 1)).c_str(), (chain + "/l" + std::to_string(i)).c_str());
        testing::internal::CaptureStderr();
        EXPECT_EQ(write_layer_file((chain + "/l0").c_str(), bmp, pal), length == 17 ? -1 : 0) << length;
        err = testing::internal::GetCapturedStderr();
        struct stat last, end;
        ASSERT_EQ(lstat((chain + "/l" + std::to_string(length - 1)).c_str(), &last), 0);
        EXPECT_TRUE(S_ISLNK(last.st_mode)) << length;
        EXPECT_EQ(stat((chain + "/l" + std::to_string(length)).c_str(), &end) == 0, length == 16);
        if (length == 17) {
            EXPECT_NE(err.find("a chain of more than 16 symbolic links"), std::string::npos) << err;
        }
    }

    // Leftovers of killed saves go with the next save; look-alikes stay, and
    // so does the temporary file of a save still going on (another game's,
    // which holds a lock on it).
    std::string plain = temp_dir();
    for (const char *name : {"map.map.saving-a1B2c3", "map.map.saving-zzzzzz", "map.map.backup", "map.map.saving-1",
                             "map.map.saving-LIVE00"})
        fclose(fopen((plain + "/" + name).c_str(), "wb"));
    int live = open((plain + "/map.map.saving-LIVE00").c_str(), O_RDONLY);
    ASSERT_EQ(flock(live, LOCK_EX), 0);
    ASSERT_EQ(write_layer_file((plain + "/map.map").c_str(), bmp, pal), 0);
    EXPECT_EQ(folder_entries(plain),
              (std::vector<std::string>{"map.map", "map.map.backup", "map.map.saving-1", "map.map.saving-LIVE00"}));
    close(live);
    destroy_bitmap(bmp);
    destroy_bitmap(old_layer);
}

// What the encoder writes is what Allegro's own PCX writer writes.
TEST(SaveTargets, EncodedImageEqualsTheLibrarysPcx) {
    start_headless();
    std::string dir = temp_dir();
    PALETTE pal;
    for (int i = 0; i < 256; i++)
        pal[i].r = i & 63, pal[i].g = (i * 3) & 63, pal[i].b = 63 - (i & 63);
    std::mt19937 random(7);
    for (int w : {1, 63, 64, 65, 130}) {
        BITMAP *bmp = create_bitmap_ex(8, w, 9);
        for (int y = 0; y < 9; y++)
            for (int x = 0; x < w; x++)
                putpixel(bmp, x, y, y < 3 ? 0xC5 : y < 6 ? (int)(random() % 256) : (x / 5) * 40 % 256);
        std::vector<unsigned char> mine;
        encode_pcx(bmp, pal, mine);
        std::string theirs = dir + "/theirs.pcx";
        ASSERT_EQ(save_pcx(theirs.c_str(), bmp, pal), 0);
        EXPECT_EQ(mine, file_bytes(theirs)) << "width " << w;
        destroy_bitmap(bmp);
    }
}

// Input files that are not regular files are refused at once with a line
// that says what they are; nothing blocks on a named pipe or reads a device.
TEST(InputFiles, PipesFoldersLinksAndUnreadableFilesAreNamed) {
    start_headless();
    std::string dir = temp_dir();
    mkfifo((dir + "/pipe").c_str(), 0644);
    mkdir((dir + "/folder").c_str(), 0755);
    symlink("pipe", (dir + "/link-to-pipe").c_str());
    symlink("nowhere", (dir + "/dangling").c_str());
    symlink("/dev/zero", (dir + "/device").c_str());
    fclose(fopen((dir + "/locked").c_str(), "wb"));
    chmod((dir + "/locked").c_str(), 0);
    struct Case {
        const char *name;
        const char *reason;
    } cases[] = {
        {"pipe", "is a named pipe, not a file"},
        {"link-to-pipe", "is a named pipe, not a file"},
        {"folder", "is a folder, not a file"},
        {"dangling", "is a symbolic link to a file that does not exist"},
        {"device", "is a device, not a file"},
        {"missing", "file not found"},
        {"locked", "cannot be read (Permission denied)"},
    };
    for (const Case &c : cases) {
        if (!strcmp(c.name, "locked") && geteuid() == 0)
            continue; // root reads it anyway
        SCOPED_TRACE(c.name);
        std::string path = dir + "/" + c.name;
        within_ten_seconds([&] {
            PALETTE pal;
            EXPECT_EQ(load_layer(path.c_str(), pal), nullptr);
            EXPECT_STREQ(layer_error, c.reason);
            char why[200] = "";
            EXPECT_FALSE(check_datafile_file(path.c_str(), why, sizeof why));
            EXPECT_STREQ(why, c.reason);
        });
    }
}

// An editor reload follows the rules of start-up: a layer the game would
// refuse is not taken, and the layer in memory (and the palette) stay.
TEST(EditorReload, LayersStartUpWouldRefuseAreNotTaken) {
    SavedWorld world;
    ASSERT_TRUE(enter_saved_world(world, 90, 170, 72, 72));
    putpixel(object_layer, 70, 155, 5);
    palette[3].r = 17;
    PALETTE other = {};
    struct Case {
        const char *what;
        int w, h;
        const char *reason;
    } cases[] = {
        {"1x1", 1, 1, "too small for the start view"},
        {"wider than the others", 91, 170, "91x170 tiles, but map.map is 90x170"},
        {"shorter than the others", 90, 169, "90x169 tiles, but map.map is 90x170"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        BITMAP *wrong = create_bitmap_ex(8, c.w, c.h);
        clear_bitmap(wrong);
        ASSERT_EQ(write_layer_file("obj.map", wrong, other), 0);
        destroy_bitmap(wrong);
        BITMAP *before = object_layer;
        testing::internal::CaptureStderr();
        EXPECT_FALSE(reload_layer(1));
        std::string err = testing::internal::GetCapturedStderr();
        EXPECT_EQ(object_layer, before);
        EXPECT_EQ(getpixel(object_layer, 70, 155), 5);
        EXPECT_EQ(palette[3].r, 17);
        EXPECT_EQ(err.rfind("obj.map: not reloaded (", 0), 0u) << err;
        EXPECT_NE(err.find(c.reason), std::string::npos) << err;
    }
    // A layer of the world's size is taken, with its palette.
    BITMAP *right = create_bitmap_ex(8, 90, 170);
    clear_bitmap(right);
    ASSERT_EQ(write_layer_file("obj.map", right, other), 0);
    destroy_bitmap(right);
    EXPECT_TRUE(reload_layer(1));
    EXPECT_EQ(getpixel(object_layer, 70, 155), 0);
    EXPECT_EQ(palette[3].r, 0);
    leave_saved_world(world);
}
