// world_tool_test.cpp -- lamplight-world run on the default world and on small broken worlds
#include "layers.h"
#include <allegro.h>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <loadpng.h>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

// What one run of the tool printed and returned.
struct ToolRun {
    int status;
    std::string output;
};

ToolRun run_tool(const std::string &dir, const std::string &args) {
    std::string command = std::string(WORLD_TOOL) + " -C '" + dir + "' " + args + " 2>&1";
    FILE *pipe = popen(command.c_str(), "r");
    ToolRun run = {-1, ""};
    if (!pipe)
        return run;
    char chunk[4096];
    size_t n;
    while ((n = fread(chunk, 1, sizeof chunk, pipe)) > 0)
        run.output.append(chunk, n);
    int status = pclose(pipe);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

void start_allegro() {
    static bool started = false;
    if (!started) {
        install_allegro(SYSTEM_NONE, &errno, atexit);
        set_color_depth(8);
        started = true;
    }
}

std::string read_file(const fs::path &file) {
    std::ifstream in(file, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

void write_file(const fs::path &file, const std::string &text) {
    std::ofstream(file, std::ios::binary) << text;
}

// A fresh folder, removed at the end of the test.
struct TempDir {
    fs::path path;
    TempDir() {
        char name[] = "/tmp/world_test.XXXXXX";
        path = mkdtemp(name);
    }
    ~TempDir() { fs::remove_all(path); }
    std::string str() const { return path.string(); }
};

// The legend of the test worlds; x, z and q stand for codes the game has no use for.
const char *const TEST_LEGEND =
    "# test legend\n"
    "terrain # 0 boundary\nterrain E 74 exit\nterrain . 72 floor\nterrain : 53 dark\n"
    "terrain = 30 wall\nterrain x 90 no art\n"
    "object . 0 none\nobject ! 2 goal\nobject $ 1 coin\nobject z 20 unknown\n"
    "monster . 0 none\nmonster 2 2 chaser\nmonster K 1 giant\nmonster q 15 unknown\n";

// A small world in text form: the start room A (66..80 x 151..165) and room B
// (81..95) right of it, joined by a door at rows 157..158, the goal in B.
struct TextWorld {
    int width = 100, height = 170, origin_x = 64, origin_y = 149;
    std::vector<std::string> rows[3];

    TextWorld() {
        rows[0].assign(19, std::string(34, '#'));
        rows[1].assign(19, std::string(34, '.'));
        rows[2].assign(19, std::string(34, '.'));
        carve(66, 151, 80, 165);
        carve(81, 151, 95, 165);
        for (int y = 157; y <= 158; y++) {
            set(0, 80, y, 'E');
            set(0, 81, y, 'E');
        }
        set(1, 90, 155, '!');
    }
    // Floor inside the walls [left, right] x [top, bottom].
    void carve(int left, int top, int right, int bottom) {
        for (int y = top + 1; y < bottom; y++)
            for (int x = left + 1; x < right; x++)
                set(0, x, y, '.');
    }
    void set(int layer, int x, int y, char c) { rows[layer][y - origin_y][x - origin_x] = c; }

    void write(const TempDir &dir) const {
        static const char *const files[3] = {"terrain.txt", "objects.txt", "monsters.txt"};
        write_file(dir.path / "legend.txt", TEST_LEGEND);
        for (int i = 0; i < 3; i++) {
            std::string text = "# test\nsize " + std::to_string(width) + " " + std::to_string(height) +
                               "\norigin " + std::to_string(origin_x) + " " + std::to_string(origin_y) + "\n---\n";
            for (const std::string &row : rows[i])
                text += row + "\n";
            write_file(dir.path / files[i], text);
        }
    }
};

// Writes the world's text, builds it and checks it in one folder.
ToolRun build_and_check(const TextWorld &world, const TempDir &dir) {
    world.write(dir);
    ToolRun built = run_tool(dir.str(), "build .");
    if (built.status != 0)
        return built;
    return run_tool(dir.str(), "check");
}

bool contains(const ToolRun &run, const std::string &text) {
    return run.output.find(text) != std::string::npos;
}

} // namespace

TEST(WorldDefault, CheckPassesOnTheDefaultWorld) {
    TempDir dir;
    ToolRun built = run_tool(dir.str(), std::string("build ") + WORLD_SOURCE_DIR);
    ASSERT_EQ(built.status, 0) << built.output;
    ToolRun checked = run_tool(dir.str(), "check");
    EXPECT_EQ(checked.status, 0) << checked.output;
    EXPECT_TRUE(contains(checked, "ok")) << checked.output;
}

TEST(WorldDefault, DefaultWorldHoldsWhatTheGameNeeds) {
    // Read back the built layers: twelve rooms or more, two dark rooms, and the
    // objects and features the route is made of.
    TempDir dir;
    ASSERT_EQ(run_tool(dir.str(), std::string("build ") + WORLD_SOURCE_DIR).status, 0);
    start_allegro();
    PALETTE pal;
    BITMAP *terrain = load_layer((dir.path / "map.map").c_str(), pal);
    BITMAP *objects = load_layer((dir.path / "obj.map").c_str(), pal);
    BITMAP *monsters = load_layer((dir.path / "mob.map").c_str(), pal);
    ASSERT_TRUE(terrain && objects && monsters);
    int terrain_count[256] = {}, object_count[256] = {}, monster_count[256] = {};
    for (int y = 0; y < terrain->h; y++)
        for (int x = 0; x < terrain->w; x++) {
            terrain_count[getpixel(terrain, x, y)]++;
            object_count[getpixel(objects, x, y)]++;
            monster_count[getpixel(monsters, x, y)]++;
        }
    for (int code : {11, 24, 25, 26, 27, 28, 53, 54, 72, 74})
        EXPECT_GT(terrain_count[code], 0) << "terrain code " << code;
    for (int code : {1, 2, 5, 8, 10, 11, 12, 13, 14})
        EXPECT_GT(object_count[code], 0) << "object " << code;
    EXPECT_EQ(object_count[2], 1) << "one goal";
    EXPECT_GT(monster_count[1], 0);
    EXPECT_GT(monster_count[13], 0);
    EXPECT_GT(monster_count[14], 0);
    // Rooms: count the distinct bounds measured from every floor tile.
    terrain_layer = terrain;
    std::vector<std::vector<int>> rooms;
    int dark_rooms = 0;
    for (int y = 0; y < terrain->h; y++)
        for (int x = 0; x < terrain->w; x++) {
            int code = getpixel(terrain, x, y);
            if (code < 52 || code == 74)
                continue;
            find_room_bounds(x, y);
            std::vector<int> bounds = {room_left, room_top, room_right, room_bottom};
            bool known = false;
            for (const auto &r : rooms)
                known = known || r == bounds;
            if (!known) {
                rooms.push_back(bounds);
                bool dark = false;
                for (int ty = room_top; ty <= room_bottom; ty++)
                    for (int tx = room_left; tx <= room_right; tx++)
                        dark = dark || getpixel(terrain, tx, ty) == 53 || getpixel(terrain, tx, ty) == 54;
                dark_rooms += dark;
            }
        }
    EXPECT_GE(rooms.size(), 12u);
    EXPECT_GE(dark_rooms, 2);
    // The first room is measured round (74, 159) and the view (66, 151) fills it.
    find_room_bounds(74, 159);
    EXPECT_EQ(room_left, 66);
    EXPECT_EQ(room_top, 151);
    EXPECT_EQ(room_right, 80);
    EXPECT_EQ(room_bottom, 165);
    destroy_bitmap(terrain);
    destroy_bitmap(objects);
    destroy_bitmap(monsters);
}

TEST(WorldCheck, SmallTestWorldIsClean) {
    TempDir dir;
    ToolRun run = build_and_check(TextWorld(), dir);
    EXPECT_EQ(run.status, 0) << run.output;
}

TEST(WorldCheck, NamesLayersOfDifferentSizes) {
    TempDir dir;
    TextWorld().write(dir);
    ASSERT_EQ(run_tool(dir.str(), "build .").status, 0);
    start_allegro();
    BITMAP *small = create_bitmap_ex(8, 90, 170);
    clear_to_color(small, 0);
    PALETTE pal = {};
    ASSERT_EQ(write_layer_file((dir.path / "mob.map").c_str(), small, pal), 0);
    destroy_bitmap(small);
    ToolRun run = run_tool(dir.str(), "check");
    EXPECT_NE(run.status, 0);
    EXPECT_TRUE(contains(run, "layers of different sizes: map.map is 100x170, obj.map is 100x170, mob.map is 90x170"))
        << run.output;
}

TEST(WorldCheck, NamesARoomThatIsNotClosed) {
    // Room B opened to the right, up to the layer's last column.
    TempDir dir;
    TextWorld world;
    world.width = 98;
    for (int x = 95; x <= 97; x++)
        world.set(0, x, 160, '.');
    ToolRun run = build_and_check(world, dir);
    EXPECT_NE(run.status, 0);
    EXPECT_TRUE(contains(run, "room round (82, 152) is not closed: a scan from (97, 160) going right reaches the layer's edge"))
        << run.output;
}

TEST(WorldCheck, NamesAStartViewOutsideTheLayers) {
    TempDir dir;
    TextWorld world;
    world.height = 166; // the first view draws rows 150..166
    world.rows[0].pop_back();
    world.rows[1].pop_back();
    world.rows[2].pop_back();
    world.rows[0].pop_back();
    world.rows[1].pop_back();
    world.rows[2].pop_back();
    ToolRun run = build_and_check(world, dir);
    EXPECT_NE(run.status, 0);
    EXPECT_TRUE(contains(run, "start view: origin (66, 151) draws tiles 65..81 x 150..166, outside the terrain layer (100x166)"))
        << run.output;
}

TEST(WorldCheck, NamesCodesWithoutArtOrMeaning) {
    TempDir dir;
    TextWorld world;
    world.set(0, 70, 155, 'x');
    world.set(1, 71, 155, 'z');
    world.set(2, 88, 162, 'q');
    ToolRun run = build_and_check(world, dir);
    EXPECT_NE(run.status, 0);
    EXPECT_TRUE(contains(run, "terrain code (without art) 90 at (70, 155): the highest is 88")) << run.output;
    EXPECT_TRUE(contains(run, "object code 20 at (71, 155): the highest is 14")) << run.output;
    EXPECT_TRUE(contains(run, "monster kind 15 at (88, 162): the highest is 14")) << run.output;
}

TEST(WorldCheck, NamesMoreThanAHundredMarkersInARoom) {
    // 101 markers, one on each tile of B from its first row on: the count is
    // named whatever else is wrong with them.
    TempDir dir;
    TextWorld world;
    int placed = 0;
    for (int y = 152; y <= 164 && placed < 101; y++)
        for (int x = 82; x <= 94 && placed < 101; x++, placed++)
            world.set(2, x, y, '2');
    ToolRun run = build_and_check(world, dir);
    EXPECT_NE(run.status, 0);
    EXPECT_TRUE(contains(run, "room round (82, 152) has 101 monster markers; only 100 are spawned")) << run.output;
}

TEST(WorldCheck, NamesOverlappingMarkersAndMonstersInWalls) {
    TempDir dir;
    TextWorld world;
    world.set(2, 86, 160, '2');
    world.set(2, 87, 161, '2'); // diagonal neighbours: 30 x 20 boxes overlap
    world.set(2, 84, 154, '2');
    world.set(2, 86, 154, '2'); // two tiles apart: no overlap
    world.set(2, 70, 158, 'K'); // the giant's 6 x 9 tiles reach the wall at row 165
    ToolRun run = build_and_check(world, dir);
    EXPECT_NE(run.status, 0);
    EXPECT_TRUE(contains(run, "monster markers at (86, 160) and (87, 161) overlap")) << run.output;
    EXPECT_FALSE(contains(run, "(84, 154) and (86, 154)")) << run.output;
    EXPECT_TRUE(contains(run, "monster kind 1 at (70, 158) starts inside a wall")) << run.output;
}

TEST(WorldCheck, NamesExitsThatArriveInAWall) {
    TempDir dir;
    TextWorld world;
    world.set(0, 83, 159, '='); // on the arrival place of A's door: tiles 82..83 x 157..159
    world.set(0, 66, 160, 'E');  // a door in A's left wall with rock behind it
    world.set(0, 66, 161, 'E');
    ToolRun run = build_and_check(world, dir);
    EXPECT_NE(run.status, 0);
    EXPECT_TRUE(contains(run, "exit at (80, 157) leading right: its arrival place (82..83, 157..159) is a wall (code 30 at (83, 159))"))
        << run.output;
    EXPECT_TRUE(contains(run, "exit at (66, 160) leading left: its arrival place (63..64, 160..162) is a wall (code 0 at (63, 160))"))
        << run.output;
    EXPECT_FALSE(contains(run, "exit at (81, 157)")) << run.output; // B's way back is sound
}

TEST(WorldCheck, NamesAnExitWhoseNextRoomIsMeasuredElsewhere) {
    // B is only 7 tiles wide: the room-change step measures from column 89,
    // which lies beyond it.
    TempDir dir;
    TextWorld world;
    for (int y = 151; y <= 165; y++)
        for (int x = 88; x <= 95; x++)
            world.set(0, x, y, '#');
    world.set(1, 90, 155, '.');
    world.set(1, 84, 155, '!');
    ToolRun run = build_and_check(world, dir);
    EXPECT_NE(run.status, 0);
    EXPECT_TRUE(contains(run, "exit at (80, 157) leading right: the room measured after it, from tile (89, 159), is not the room of its arrival place (82, 157)"))
        << run.output;
}

TEST(WorldCheck, NamesFaultsThatSpoilPlay) {
    TempDir dir;
    TextWorld world;
    world.set(1, 90, 155, '.');  // no goal left
    world.set(1, 70, 153, '$');
    world.set(0, 70, 153, '=');  // a coin inside a wall
    world.set(0, 74, 162, '=');  // on the player's start place
    world.set(2, 82, 158, '2');  // waiting on the arrival place of A's door
    world.set(0, 90, 160, ':');  // dark floor in B, out of sight of A's views
    ToolRun run = build_and_check(world, dir);
    EXPECT_NE(run.status, 0);
    EXPECT_TRUE(contains(run, "no goal object (2) that can be taken")) << run.output;
    EXPECT_TRUE(contains(run, "object 1 at (70, 153) lies on terrain code 30 and can never be taken")) << run.output;
    EXPECT_TRUE(contains(run, "start: the player starts in a wall: tile (74, 162) has code 30")) << run.output;
    EXPECT_TRUE(contains(run, "exit at (80, 157) leading right: the monster at (82, 158) stands on its arrival place"))
        << run.output;
    EXPECT_FALSE(contains(run, "drawn dark")) << run.output; // B is dark itself; A never shows tile (90, 160)
    // A lit room whose view shows a neighbour's dark floor: put it on B's wall line next to A.
    TempDir dir2;
    TextWorld lit;
    lit.set(0, 81, 153, ':');
    lit.set(0, 80, 153, '#');
    ToolRun run2 = build_and_check(lit, dir2);
    EXPECT_TRUE(contains(run2, "room round (67, 152) has no dark floor, but its view shows the dark floor at (81, 153)"))
        << run2.output;
}

TEST(WorldText, BuildThenDumpGivesBackTheSource) {
    TempDir layers, copy;
    static const char *const files[4] = {"legend.txt", "terrain.txt", "objects.txt", "monsters.txt"};
    for (const char *f : files)
        fs::copy_file(fs::path(WORLD_SOURCE_DIR) / f, copy.path / f);
    ASSERT_EQ(run_tool(layers.str(), std::string("build ") + WORLD_SOURCE_DIR).status, 0);
    // Overwrite the copy with a dump of the layers: every file must come back.
    ToolRun dumped = run_tool(layers.str(), "dump " + copy.str());
    ASSERT_EQ(dumped.status, 0) << dumped.output;
    for (const char *f : files)
        EXPECT_EQ(read_file(copy.path / f), read_file(fs::path(WORLD_SOURCE_DIR) / f)) << f;
}

TEST(WorldText, DumpGivesCodesWithoutACharacterOneAndBuildsBack) {
    TempDir first, source, second;
    TextWorld().write(first);
    ASSERT_EQ(run_tool(first.str(), "build .").status, 0);
    start_allegro();
    // Codes the legend lacks, as an editor might leave them.
    PALETTE pal;
    BITMAP *terrain = load_layer((first.path / "map.map").c_str(), pal);
    ASSERT_TRUE(terrain);
    putpixel(terrain, 70, 154, 40);
    putpixel(terrain, 71, 154, 99);
    ASSERT_EQ(write_layer_file((first.path / "map.map").c_str(), terrain, pal), 0);
    // Dump into an empty folder: a fresh legend with a character for every code.
    ToolRun dumped = run_tool(first.str(), "dump " + source.str());
    ASSERT_EQ(dumped.status, 0) << dumped.output;
    std::string legend = read_file(source.path / "legend.txt");
    EXPECT_NE(legend.find(" 40 code 40 (added by dump)"), std::string::npos) << legend;
    EXPECT_NE(legend.find(" 99 code 99 (added by dump)"), std::string::npos) << legend;
    ASSERT_EQ(run_tool(second.str(), "build " + source.str()).status, 0);
    for (const char *f : {"map.map", "obj.map", "mob.map"}) {
        BITMAP *a = load_layer((first.path / f).c_str(), pal);
        BITMAP *b = load_layer((second.path / f).c_str(), pal);
        ASSERT_TRUE(a && b) << f;
        ASSERT_EQ(a->w, b->w);
        ASSERT_EQ(a->h, b->h);
        int differ = 0;
        for (int y = 0; y < a->h; y++)
            for (int x = 0; x < a->w; x++)
                differ += getpixel(a, x, y) != getpixel(b, x, y);
        EXPECT_EQ(differ, 0) << f;
        destroy_bitmap(a);
        destroy_bitmap(b);
    }
    destroy_bitmap(terrain);
}

TEST(WorldText, TooManyCodesAndBadSourcesAreClearErrors) {
    TempDir first, out;
    TextWorld().write(first);
    ASSERT_EQ(run_tool(first.str(), "build .").status, 0);
    start_allegro();
    PALETTE pal;
    BITMAP *terrain = load_layer((first.path / "map.map").c_str(), pal);
    ASSERT_TRUE(terrain);
    for (int i = 0; i < 100; i++) // 100 codes more than the legend has characters for
        putpixel(terrain, 67 + i % 13, 152 + i / 13, 100 + i);
    ASSERT_EQ(write_layer_file((first.path / "map.map").c_str(), terrain, pal), 0);
    destroy_bitmap(terrain);
    ToolRun dumped = run_tool(first.str(), "dump " + out.str());
    EXPECT_NE(dumped.status, 0);
    EXPECT_TRUE(contains(dumped, "terrain layer: more distinct codes than the 94 printable characters")) << dumped.output;

    TempDir bad;
    TextWorld world;
    world.set(0, 70, 155, '@');
    world.write(bad);
    ToolRun built = run_tool(bad.str(), "build .");
    EXPECT_NE(built.status, 0);
    EXPECT_TRUE(contains(built, "terrain.txt row 7 column 7: '@' is not in the terrain legend")) << built.output;
    EXPECT_FALSE(fs::exists(bad.path / "map.map")); // nothing written from a bad source
}

TEST(WorldRender, DrawsTheDefaultWorldWithTheGameArt) {
    fs::path game(WORLD_GAME_DIR);
    if (!fs::exists(game / "data.dat") || !fs::exists(game / "monster.dat"))
        GTEST_SKIP() << "no datafiles in " << game;
    TempDir dir;
    fs::copy_file(game / "data.dat", dir.path / "data.dat");
    fs::copy_file(game / "monster.dat", dir.path / "monster.dat");
    ASSERT_EQ(run_tool(dir.str(), std::string("build ") + WORLD_SOURCE_DIR).status, 0);
    ToolRun rendered = run_tool(dir.str(), "render map.png");
    ASSERT_EQ(rendered.status, 0) << rendered.output;
    start_allegro();
    PALETTE pal;
    BITMAP *picture = load_png((dir.path / "map.png").c_str(), pal);
    ASSERT_TRUE(picture);
    DATAFILE *data = load_datafile((dir.path / "data.dat").c_str());
    ASSERT_TRUE(data);
    // The default world's grid starts at tile (51, 121); tile (69, 154) is plain floor.
    BITMAP *floor = (BITMAP *)data[14 + 72].dat;
    int differ = 0;
    for (int y = 0; y < 16; y++)
        for (int x = 0; x < 16; x++)
            differ += getpixel(picture, (69 - 51) * 16 + x, (154 - 121) * 16 + y) != getpixel(floor, x, y);
    EXPECT_EQ(differ, 0);
    EXPECT_EQ(picture->w % 16, 0);
    destroy_bitmap(picture);
    unload_datafile(data);
}
