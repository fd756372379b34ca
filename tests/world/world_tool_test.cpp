// world_tool_test.cpp -- lamplight-world run on the default world and on small broken worlds
#include "map.h"
#include "editors_names.h"
#include "tool_run.h"
#include <algorithm>
#include <cerrno>
#include <gtest/gtest.h>

namespace {

// One layer file of `dir` as a new bitmap (NULL when unreadable); Allegro starts headless on the first.
BITMAP *layer_in(const TempDir &dir, const char *file, RGB *pal) {
    [[maybe_unused]] static int started = (install_allegro(SYSTEM_NONE, &errno, atexit), set_color_depth(8), 1);
    return load_layer((dir.path / file).c_str(), pal);
}

// Loads layer `file` of `dir`, lets `edit` change it (or give a new bitmap), writes it back.
template <class Edit> void rewrite_layer(const TempDir &dir, const char *file, Edit edit) {
    PALETTE pal;
    BITMAP *layer = layer_in(dir, file, pal);
    ASSERT_TRUE(layer) << file;
    BITMAP *changed = edit(layer);
    EXPECT_EQ(write_layer_file((dir.path / file).c_str(), changed, pal), 0);
    if (changed != layer)
        destroy_bitmap(changed);
    destroy_bitmap(layer);
}

// Paints the codes first, first + 1, ... over room A's floor in map.map of `dir`.
void paint_codes(const TempDir &dir, int first, int count) {
    rewrite_layer(dir, "map.map", [&](BITMAP *terrain) {
        for (int i = 0; i < count; i++)
            putpixel(terrain, 67 + i % 13, 152 + i / 13, first + i);
        return terrain;
    });
}

// The legend of the test worlds; x, z and q stand for the first codes the game has no use for.
const char *const TEST_LEGEND =
    "# test legend\n"
    "terrain # 0 boundary\nterrain E 74 exit\nterrain . 72 floor\nterrain : 53 dark\n"
    "terrain = 30 wall\nterrain % 11 cracked\nterrain x 89 no art\nterrain g 24 ghost\nterrain [ 26 gate\n"
    "terrain S 28 switch\n"
    "object . 0 none\nobject ! 2 goal\nobject $ 1 coin\nobject z 15 unknown\nobject C 11 cloak\nobject B 12 bag\n"
    "monster . 0 none\nmonster 2 2 chaser\nmonster K 1 giant\nmonster q 15 unknown\n";

// A small world in text form: the start room A (66..80 x 151..165) and room B
// (81..95) right of it, joined by a door at rows 157..158, the goal in B.
struct TextWorld {
    int width = 100, height = 170, origin_x = 64, origin_y = 149;
    std::vector<std::string> rows[3];

    TextWorld() {
        for (int i = 0; i < 3; i++)
            rows[i].assign(19, std::string(34, i == 0 ? '#' : '.'));
        for (int y = 152; y <= 164; y++) // floor inside the walls; columns 80 and 81 are the shared wall
            for (int x = 67; x <= 94; x++)
                set(0, x, y, x == 80 || x == 81 ? (y == 157 || y == 158 ? 'E' : '#') : '.');
        set(1, 90, 155, '!');
    }
    void set(int layer, int x, int y, char c) { rows[layer][y - origin_y][x - origin_x] = c; }

    // The legend and the three grids; rows below `height` are left out.
    void write(const TempDir &dir) const {
        static const char *const files[3] = {"terrain.txt", "objects.txt", "monsters.txt"};
        std::ofstream(dir.path / "legend.txt") << TEST_LEGEND;
        for (int i = 0; i < 3; i++) {
            std::ofstream out(dir.path / files[i]);
            out << "# test\nsize " << width << " " << height << "\norigin " << origin_x << " " << origin_y << "\n---\n";
            for (int r = 0; r < (int)rows[i].size() && origin_y + r < height; r++)
                out << rows[i][r] << "\n";
        }
    }
};

} // namespace

// The default world passes a strict check and dumps back to its very source.
TEST(WorldDefault, PassesCheckAndDumpsBack) {
    TempDir dir, copy;
    static const char *const files[4] = {"legend.txt", "terrain.txt", "objects.txt", "monsters.txt"};
    for (const char *f : files)
        fs::copy_file(fs::path(WORLD_SOURCE_DIR) / f, copy.path / f);
    ToolRun built = run_tool(dir.path, "build " + copy.path.string());
    ASSERT_EQ(built.status, 0) << built.output;
    ToolRun checked = run_tool(dir.path, "check --strict");
    EXPECT_EQ(checked.status, 0) << checked.output;

    // Dumped over the copy, every file comes back.
    ToolRun dumped = run_tool(dir.path, "dump " + copy.path.string());
    ASSERT_EQ(dumped.status, 0) << dumped.output;
    for (const char *f : files)
        EXPECT_EQ(read_file(copy.path / f), read_file(fs::path(WORLD_SOURCE_DIR) / f)) << f;
}

// A fault made in the small world, and the lines the tool must (and must not) print about it.
struct Fill {
    int layer, x, y;
    char c;
    int x1 = 0, y1 = 0; // the far corner of a filled block; 0 = a single tile
};
// Lays the fills into the world.
static void lay(TextWorld &world, const std::vector<Fill> &fills) {
    for (const Fill &f : fills)
        for (int y = f.y; y <= (f.y1 ? f.y1 : f.y); y++)
            for (int x = f.x; x <= (f.x1 ? f.x1 : f.x); x++)
                world.set(f.layer, x, y, f.c);
}
struct BrokenWorld {
    const char *fault;
    std::vector<Fill> fills;
    std::vector<std::string> named, not_named;
    int width = 100, height = 170, mob_width = 100;
};

TEST(WorldCheck, NamesEachFaultOfABrokenWorldAndPassesASoundOne) {
    const BrokenWorld cases[] = {
        {"sound", {}, {"ok: 100x170 tiles, no problems"}, {}},
        {"a monster layer narrower than the others", {},
         {"layers of different sizes: map.map is 100x170, obj.map is 100x170, mob.map is 90x170"}, {}, 100, 170, 90},
        {"B open up to the layer's last column", {{0, 95, 160, '.', 97}},
         {"room round (82, 152) is not closed: a scan from (97, 160) going right reaches the layer's edge"}, {}, 98},
        {"layers too short for the first view and the rooms' views (rows 150..166)", {},
         {"start view: origin (66, 151) draws tiles 65..81 x 150..166, outside the terrain layer (100x166)",
          "room round (67, 152): its views draw tiles 65..81 x 150..166, outside the layers"}, {}, 100, 166},
        {"the first codes without art or meaning; of 25 monster kinds, the 5 past 20 summed up",
         {{0, 70, 155, 'x'}, {1, 71, 155, 'z'}, {2, 88, 162, 'q'}, {2, 84, 152, 'q', 89, 155}},
         {"terrain code (without art) 89 at (70, 155): the highest is 88",
          "object code 15 at (71, 155): the highest is 14", "monster kind 15 at (84, 152): the highest is 14",
          "... and 5 more tiles with monster kind above 14"},
         {"(88, 162)"}},
        {"101 markers from B's first row on: counted whatever else is wrong",
         {{2, 82, 152, '2', 94, 158}, {2, 82, 159, '2', 91, 159}},
         {"room round (82, 152) has 101 monster markers; only 100 are spawned"}, {}},
        // 30x20 boxes a tile apart diagonally overlap, two tiles apart they do not;
        // the giant's 9 rows of tiles reach the wall at row 165.
        {"overlapping markers, a giant in a wall",
         {{2, 86, 160, '2'}, {2, 87, 161, '2'}, {2, 84, 154, '2'}, {2, 86, 154, '2'}, {2, 70, 157, 'K'}},
         {"monster markers at (86, 160) and (87, 161) overlap", "monster kind 1 at (70, 157) starts inside a wall"},
         {"(84, 154) and (86, 154)"}},
        {"a wall on the arrival place of A's door, a door in A's left wall to rock",
         {{0, 83, 159, '='}, {0, 66, 160, 'E', 66, 161}},
         {"exit at (80, 157) leading right: its arrival place (82..83, 157..159) is a wall (code 30 at (83, 159))",
          "exit at (66, 160) leading left: its arrival place (63..64, 160..162) is a wall (code 0 at (63, 160))"},
         {"exit at (81, 157)"}},
        {"B 7 tiles wide: the room-change step measures from column 89, beyond it",
         {{0, 88, 151, '#', 95, 165}, {1, 90, 155, '.'}, {1, 84, 155, '!'}},
         {"exit at (80, 157) leading right: the room measured after it, from tile (89, 159), is not the room of its "
          "arrival place (82, 157)"}, {}},
        // B is dark itself, and A's views never show its dark floor.
        {"no goal, a coin in a wall, the start in a wall, a monster on an arrival place",
         {{1, 90, 155, '.'}, {1, 70, 153, '$'}, {0, 70, 153, '='}, {0, 74, 162, '='}, {2, 82, 158, '2'},
          {0, 90, 160, ':'}},
         {"no goal object (2) that can be taken", "object 1 at (70, 153) lies on terrain code 30 and can never be taken",
          "start: the player starts in a wall: tile (74, 162) has code 30",
          "exit at (80, 157) leading right: the monster at (82, 158) stands on its arrival place",
          "4 problems; no layer file written (--force writes anyway)"},
         {"drawn dark"}},
        {"lit A's view shows dark floor on B's wall line", {{0, 81, 153, ':'}, {0, 80, 153, '#'}},
         {"room round (67, 152) has no dark floor, but its view shows the dark floor at (81, 153)"}, {}},
        {"a character the legend lacks, in the last layer built", {{2, 70, 155, '@'}},
         {"monsters.txt row 7 column 7: '@' is not in the monster legend"}, {}},
        // Unfair, not broken: warnings that pass a plain check. The start's
        // arrival place is (73..74, 162); B's door arrival is (82..83, 157..159).
        {"monsters near the start and the door, one five tiles off",
         {{2, 76, 160, '2'}, {2, 87, 152, '2'}, {2, 67, 152, '2'}},
         {"ok: 100x170 tiles, no problems (see the warnings)",
          "warning: monster kind 2 at (76, 160) waits within 4 tiles of the start (73..74, 162)",
          "warning: monster kind 2 at (87, 152) waits within 4 tiles of the arrival place of the exit at (80, 157) "
          "leading right"},
         {"(67, 152)"}},
        {"a cracked wall of four tiles in a row, one of three",
         {{0, 67, 156, '=', 72, 156}, {0, 68, 156, '%', 71, 156}, {0, 75, 156, '=', 78, 156}, {0, 75, 156, '%', 77, 156}},
         {"ok: 100x170 tiles, no problems (see the warnings)",
          "warning: cracked wall at (68..71, 156..156): no bomb the player can drop opens all 4 of its tiles"},
         {"(75..77"}},
        {"a coin on floor shut in by walls, one in an open nook",
         {{0, 84, 154, '=', 86, 156}, {0, 85, 155, '.'}, {1, 85, 155, '$'}, {0, 90, 152, '=', 90, 153},
          {1, 91, 152, '$'}},
         {"ok: 100x170 tiles, no problems (see the warnings)",
          "warning: object 1 at (85, 155): no place the player can stand lets a probe reach its tile"},
         {"(91, 152)"}},
    };
    for (const BrokenWorld &c : cases) {
        SCOPED_TRACE(c.fault);
        TextWorld world;
        world.width = c.width;
        world.height = c.height;
        lay(world, c.fills);
        TempDir dir;
        world.write(dir);
        ToolRun run = run_tool(dir.path, "build .");
        if (run.status == 0 && c.mob_width < c.width)
            rewrite_layer(dir, "mob.map", [&](BITMAP *mob) { return create_sub_bitmap(mob, 0, 0, c.mob_width, mob->h); });
        if (run.status == 0)
            run = run_tool(dir.path, "check");
        else
            EXPECT_FALSE(fs::exists(dir.path / "map.map")) << "a failed build writes no layer";
        EXPECT_EQ(run.status, c.named[0].compare(0, 3, "ok:") == 0 ? 0 : 1) << "only sound worlds are ok";
        if (c.named[0].find("warnings") != std::string::npos) {
            EXPECT_EQ(run_tool(dir.path, "check --strict").status, 1) << "warnings fail a strict check";
        }
        for (const std::string &line : c.named)
            EXPECT_TRUE(run.says(line)) << line << "\n" << run.output;
        for (const std::string &text : c.not_named)
            EXPECT_FALSE(run.says(text)) << text << "\n" << run.output;
    }
}

// --help and -h print the usage on standard output, --version the project's
// version (the one CMake's project() sets), usage errors the usage.
TEST(WorldBuild, ExplainsItsUsage) {
    TempDir dir;
    for (const char *help : {"--help", "-h"}) { // on standard output
        ToolRun run = shell("(" + std::string(WORLD_TOOL) + " " + help + " 2>/dev/null)");
        EXPECT_EQ(run.status, 0) << help;
        EXPECT_TRUE(run.says("usage: lamplight-world")) << help << ": " << run.output;
    }
    EXPECT_EQ(run_tool(dir.path, "--version").output, std::string("lamplight-world ") + LAMPLIGHT_VERSION + "\n");
    for (const char *wrong : {"bogus", "build", "check --force", "build --strict .", "render"}) {
        ToolRun run = run_tool(dir.path, wrong);
        EXPECT_EQ(run.status, 2) << wrong;
        EXPECT_TRUE(run.says("usage: lamplight-world")) << wrong << ": " << run.output;
    }
}

// The default legend's descriptions are the game's own names, line by line.
TEST(WorldText, LegendSaysWhatTheGameCallsEachCode) {
    std::ifstream in(fs::path(WORLD_SOURCE_DIR) / "legend.txt");
    std::string line;
    int lines = 0;
    const char *const layers[3] = {"terrain", "object", "monster"};
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#')
            continue;
        char layer[16], character;
        int code, used = 0;
        ASSERT_EQ(sscanf(line.c_str(), "%15s %c %d %n", layer, &character, &code, &used), 3) << line;
        int index = (int)(std::find(layers, layers + 3, std::string(layer)) - layers);
        ASSERT_LT(index, 3) << line;
        EXPECT_EQ(line.substr(used), code_description(index, code)) << line;
        lines++;
    }
    EXPECT_GT(lines, 40);
}

TEST(WorldText, DumpGivesNewCodesACharacterAndBuildsBackWhileCharactersLast) {
    TempDir first, source, second, out;
    TextWorld().write(first);
    ASSERT_EQ(run_tool(first.path, "build .").status, 0);
    paint_codes(first, 100, 2); // codes the legend lacks, as an editor might leave them
    // Dump into an empty folder: a fresh legend with a character for every code.
    ToolRun dumped = run_tool(first.path, "dump " + source.path.string());
    ASSERT_EQ(dumped.status, 0) << dumped.output;
    std::string legend = read_file(source.path / "legend.txt");
    EXPECT_NE(legend.find(" 100 floor, drawn in the game like 72 (added by dump)"), std::string::npos) << legend;
    // Built back, the layer files are the same to the byte.
    ASSERT_EQ(run_tool(second.path, "build --force " + source.path.string()).status, 0); // codes without art
    for (const char *f : {"map.map", "obj.map", "mob.map"})
        EXPECT_EQ(read_file(second.path / f), read_file(first.path / f)) << f;
    paint_codes(first, 100, 100); // 100 codes more than the legend has characters for
    dumped = run_tool(first.path, "dump " + out.path.string());
    EXPECT_NE(dumped.status, 0);
    EXPECT_TRUE(dumped.says("terrain layer: more distinct codes than the 94 printable characters")) << dumped.output;
}

// One trap laid in the small world, the lines the proof gives for it, and
// the same world mended, which passes a strict check.
struct TrapWorld {
    const char *trap;
    std::vector<Fill> fills, mend;
    std::vector<std::string> named;
};

// The world of `dir` played headless by lamplight-route --plan, then its
// recording replayed: the replay's end reason ("end=goal"), or what went wrong.
static std::string played_plan_end(const fs::path &dir) {
    fs::path game(WORLD_GAME_DIR);
    copy_datafiles(dir);
    std::string in_dir = "cd '" + dir.string() + "' && '" + game.string();
    if (system((in_dir + "/lamplight-route' --plan plan.rec > route.log 2>&1").c_str()) != 0)
        return "lamplight-route failed: " + read_file(dir / "route.log");
    if (system((in_dir + "/lamplight' --replay plan.rec --headless > replay.log 2>&1").c_str()) != 0)
        return "the replay differs: " + read_file(dir / "replay.log") + read_file(dir / "route.log");
    std::string log = read_file(dir / "replay.log");
    std::string end = log.substr(log.rfind("end="));
    return end.substr(0, end.find(' '));
}

TEST(WorldReach, NamesEachTrapAndPassesItMended) {
    // B's wall down column 88 (rows 152..164), with a way through at rows 157..158.
    const Fill wall = {0, 88, 152, '=', 88, 164};
    const TrapWorld cases[] = {
        {"a door with exit tiles in A's wall only", {{0, 81, 157, '#', 81, 158}}, {{0, 81, 157, 'E', 81, 158}},
         {"warning: room (66,151), door (80,157) → (82,157): no way back"}},
        {"a dead end: B entered one way, the goal in A", {{0, 81, 157, '#', 81, 158}, {1, 90, 155, '.'}, {1, 70, 155, '!'}},
         {{0, 81, 157, 'E', 81, 158}},
         {"room (81,151) is a dead end: door (80,157) → (82,157) leads in and no way leads out"}},
        {"a gate with no switch", {wall, {0, 88, 157, '[', 88, 158}}, {{0, 88, 154, 'S'}},
         {"the goal at (90, 155) in room (81,151) cannot be reached: the goal lies behind a gate that no switch the "
          "player can reach toggles",
          "warning: room (81,151), gate (88, 157): no switch the player can reach toggles it"}},
        {"the goal behind a ghost wall, the cloak beyond it",
         {{0, 88, 152, 'g', 88, 164}, {1, 92, 160, 'C'}}, {{1, 92, 160, '.'}, {1, 70, 155, 'C'}},
         {"the goal at (90, 155) in room (81,151) cannot be reached: the goal needs the cloak, which lies past the "
          "goal at (92, 160)"}},
        {"a cracked wall and no bomb", {wall, {0, 88, 157, '%', 88, 159}}, {{1, 70, 155, 'B'}},
         {"the goal at (90, 155) in room (81,151) cannot be reached: the goal needs more bombs than the world gives "
          "before it (0)",
          "warning: room (81,151), cracked wall (88, 157): it needs a bomb, and none is left by then (the world gives 0 "
          "before it)"}},
        {"a walled goal", {{0, 89, 154, '=', 91, 156}, {0, 90, 155, '.'}}, {{0, 89, 154, '.', 91, 156}},
         {"the goal at (90, 155) in room (81,151) cannot be reached: no way leads to it"}},
        {"a giant in the only way on", {wall, {0, 88, 157, '.', 88, 158}, {2, 89, 156, 'K'}}, {{2, 89, 156, '.'}},
         {"warning: room (81,151): the giant at (89, 156) stands in the only way on; it fits through no door, so the "
          "player must get past it"}},
        {"an island: A's west end cut off by a boundary", {{0, 70, 151, '#', 70, 165}}, {{0, 70, 152, '.', 70, 164}},
         {"warning: room (66,151) cannot be reached at all"}},
    };
    for (const TrapWorld &c : cases) {
        SCOPED_TRACE(c.trap);
        TextWorld world;
        lay(world, c.fills);
        TempDir dir;
        world.write(dir);
        ToolRun forced = run_tool(dir.path, "build --force .");
        ASSERT_EQ(forced.status, 0) << forced.output;
        EXPECT_TRUE(forced.says(c.named[0])) << "a forced build still names what is wrong:\n" << forced.output;
        ToolRun run = run_tool(dir.path, "check --strict");
        EXPECT_EQ(run.status, 1);
        for (const std::string &line : c.named)
            EXPECT_TRUE(run.says(line + "\n")) << line << "\n" << run.output;
        bool problem = c.named[0].compare(0, 8, "warning:") != 0;
        EXPECT_EQ(run_tool(dir.path, "check").status, problem ? 1 : 0) << "problems fail, warnings pass a plain check";
        EXPECT_EQ(run_tool(dir.path, "build .").status, problem ? 1 : 0) << "problems stop a build";

        lay(world, c.mend);
        TempDir mended;
        world.write(mended);
        ToolRun built = run_tool(mended.path, "build .");
        ASSERT_EQ(built.status, 0) << built.output;
        ToolRun ok = run_tool(mended.path, "check --strict");
        EXPECT_EQ(ok.status, 0) << ok.output;
        ToolRun route = run_tool(mended.path, "route");
        EXPECT_EQ(route.status, 0) << route.output;
        EXPECT_TRUE(route.says("1. start in room (66,151)\n") && route.says("   take the goal at ")) << route.output;
        // The game agrees: the plan, played at the keys, ends at the goal,
        // and its recording replays to the same end.
        EXPECT_EQ(played_plan_end(mended.path), "end=goal") << route.output;
    }
}
