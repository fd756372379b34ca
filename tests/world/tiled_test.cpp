// tiled_test.cpp -- export-tiled and import-tiled proved with Tiled itself: its rasterizer, its re-saves, its refusals
#include "map.h"
#include "tool_run.h"
#include <algorithm>
#include <cerrno>
#include <gtest/gtest.h>
#include <sstream>
#include <zlib.h>
#include <zstd.h>

namespace {

// Tiled and its rasterizer, headless, with a settings folder of their own.
ToolRun tiled(const fs::path &home, const std::string &args) {
    return shell("cd " + quoted(home) + " && HOME=" + quoted(home) + " XDG_RUNTIME_DIR=" + quoted(home) +
                 " QT_QPA_PLATFORM=offscreen " + args);
}

bool have_tiled() { return shell("command -v tiled && command -v tmxrasterizer").status == 0; }

void spit(const fs::path &file, const std::string &text) { std::ofstream(file, std::ios::binary) << text; }

const char *const LAYER_FILES[3] = {"map.map", "obj.map", "mob.map"};
const char *const LAYER_NAMES[3] = {"terrain", "objects", "monsters"};

// The default world built in `dir`/run with the datafiles, and exported to `dir`/map.
void export_default_world(const fs::path &dir) {
    fs::create_directories(dir / "run");
    copy_datafiles(dir / "run");
    ASSERT_EQ(run_tool(dir / "run", std::string("build ") + WORLD_SOURCE_DIR).status, 0);
    ToolRun exported = run_tool(dir / "run", "export-tiled ../map");
    ASSERT_EQ(exported.status, 0) << exported.output;
}

// A layer's tiles as a map holds them, row by row.
using Grid = std::vector<std::vector<uint32_t>>;

// The CSV grid of layer `name` in a TMX text.
Grid csv_grid(const std::string &tmx, const char *name) {
    size_t at = tmx.find(std::string("name=\"") + name + "\"");
    size_t from = tmx.find('>', tmx.find("<data", at)) + 1, to = tmx.find("</data>", from);
    Grid grid;
    std::istringstream rows(tmx.substr(from, to - from));
    for (std::string row; std::getline(rows, row);) {
        if (row.empty())
            continue;
        grid.emplace_back();
        std::istringstream cells(row);
        for (std::string cell; std::getline(cells, cell, ',');)
            grid.back().push_back((uint32_t)std::stoul(cell));
    }
    return grid;
}

std::string base64(const std::vector<unsigned char> &bytes) {
    static const char *ABC = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    for (size_t i = 0; i < bytes.size(); i += 3) {
        unsigned v = bytes[i] << 16 | (i + 1 < bytes.size() ? bytes[i + 1] << 8 : 0) |
                     (i + 2 < bytes.size() ? bytes[i + 2] : 0);
        for (int k = 0; k < 4; k++)
            out += i + k - 1 < bytes.size() || k < 2 ? ABC[v >> (18 - 6 * k) & 63] : '=';
    }
    return out;
}

// Tiles as Tiled stores them in base64: four bytes each, little-endian, compressed or not.
std::string packed(const Grid &grid, const std::string &compression) {
    std::vector<unsigned char> raw;
    for (const auto &row : grid)
        for (uint32_t g : row)
            for (int k = 0; k < 4; k++)
                raw.push_back((unsigned char)(g >> (8 * k)));
    std::vector<unsigned char> out(raw.size() + 1024);
    if (compression == "zstd") {
        out.resize(ZSTD_compress(out.data(), out.size(), raw.data(), raw.size(), 3));
    } else if (!compression.empty()) {
        z_stream s = {};
        deflateInit2(&s, 6, Z_DEFLATED, compression == "gzip" ? 31 : 15, 8, Z_DEFAULT_STRATEGY);
        s.next_in = raw.data();
        s.avail_in = (uInt)raw.size();
        s.next_out = out.data();
        s.avail_out = (uInt)out.size();
        deflate(&s, Z_FINISH);
        out.resize(s.total_out);
        deflateEnd(&s);
    } else {
        out = raw;
    }
    return base64(out);
}

// Tiles as Tiled writes CSV: a comma after every tile but the last.
std::string csv(const Grid &grid) {
    std::string text = "\n";
    for (const auto &row : grid) {
        for (uint32_t g : row)
            text += std::to_string(g) + ",";
        text += "\n";
    }
    return text.erase(text.size() - 2, 1);
}

// A tile layer element; `encoding` "csv" or "base64", `compression` "", zlib, gzip, zstd.
std::string tmx_layer(int id, const std::string &name, const Grid &grid, const std::string &encoding,
                      const std::string &compression) {
    std::string data = encoding == "csv" ? csv(grid) : packed(grid, compression);
    std::string attributes = "encoding=\"" + encoding + "\"" +
                             (compression.empty() ? "" : " compression=\"" + compression + "\"");
    return " <layer id=\"" + std::to_string(id) + "\" name=\"" + name + "\" width=\"" +
           std::to_string(grid.empty() ? 0 : grid[0].size()) + "\" height=\"" + std::to_string(grid.size()) +
           "\">\n  <data " + attributes + ">" + data + "</data>\n </layer>\n";
}

// A map of the size of `grids` with `tilesets` (the elements as text) and the three layers.
std::string tmx_map(const std::string &tilesets, const Grid grids[3], const std::string &encoding = "csv",
                    const std::string &compression = "", const std::string &map_extra = "", bool reversed = false) {
    std::string text = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<map version=\"1.8\" orientation=\"orthogonal\" "
                       "renderorder=\"right-down\" width=\"" + std::to_string(grids[0][0].size()) + "\" height=\"" +
                       std::to_string(grids[0].size()) + "\" tilewidth=\"16\" tileheight=\"16\" " + map_extra +
                       " nextlayerid=\"9\" nextobjectid=\"1\">\n" + tilesets;
    for (int k = 0; k < 3; k++) {
        int i = reversed ? 2 - k : k;
        text += tmx_layer(i + 1, LAYER_NAMES[i], grids[i], encoding, compression);
    }
    return text + "</map>\n";
}

// The <tileset> elements of an exported map, as text.
std::string tilesets_of(const std::string &tmx) {
    size_t from = tmx.find("<tileset"), to = tmx.find("<layer");
    return tmx.substr(from, tmx.rfind("</tileset>", to) + 10 - from) + "\n";
}

// Moves every tileset of `tilesets` into a file of its own in `dir`
// (lamplight-1.tsx, ...), as Tiled's "Export tileset" does; the map keeps a
// reference. `json`: the tileset files are turned into .tsj by Tiled itself.
std::string external_tilesets(const std::string &tilesets, const fs::path &dir, bool json) {
    std::string refs;
    size_t at = 0;
    for (int n = 1; (at = tilesets.find("<tileset", at)) != std::string::npos; n++) {
        size_t end = tilesets.find("</tileset>", at) + 10;
        std::string element = tilesets.substr(at, end - at);
        size_t gid_from = element.find("firstgid=\""), gid_to = element.find('"', gid_from + 10) + 1;
        std::string firstgid = element.substr(gid_from, gid_to - gid_from);
        element.erase(gid_from, gid_to - gid_from);
        std::string name = "lamplight-" + std::to_string(n);
        spit(dir / (name + ".tsx"), "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n" + element + "\n");
        if (json) {
            ToolRun made = tiled(dir, "tiled --export-tileset json " + name + ".tsx " + name + ".tsj");
            EXPECT_EQ(made.status, 0) << made.output;
        }
        refs += " <tileset " + firstgid + " source=\"" + name + (json ? ".tsj" : ".tsx") + "\"/>\n";
        at = end;
    }
    return refs;
}

bool same_layers(const fs::path &a, const fs::path &b) {
    for (const char *f : LAYER_FILES)
        if (read_file(a / f) != read_file(b / f) || read_file(a / f).empty())
            return false;
    return true;
}

} // namespace

// The export as Tiled draws it is the world as render draws it, pixel for pixel.
TEST(TiledExport, TmxRasterizerDrawsTheExportAsRenderDrawsTheWorld) {
    if (!have_tiled())
        GTEST_SKIP() << "no tiled or tmxrasterizer (scripts/install-deps.sh installs them)";
    TempDir dir;
    export_default_world(dir.path);
    ToolRun rendered = run_tool(dir.path / "run", "render ../render.png");
    ASSERT_EQ(rendered.status, 0) << rendered.output;
    ToolRun drawn = tiled(dir.path, "tmxrasterizer map/world.tmx tiled.png");
    ASSERT_EQ(drawn.status, 0) << drawn.output;
    // render draws the tiles it names; Tiled the whole map, so cut that part out.
    int left, right, top, bottom;
    const char *range = strstr(rendered.output.c_str(), "tiles ");
    ASSERT_TRUE(range && sscanf(range, "tiles %d..%d x %d..%d", &left, &right, &top, &bottom) == 4) << rendered.output;
    std::string crop = std::to_string((right - left + 1) * 16) + "x" + std::to_string((bottom - top + 1) * 16) + "+" +
                       std::to_string(left * 16) + "+" + std::to_string(top * 16);
    ToolRun compared = shell("cd " + quoted(dir.path) + " && convert tiled.png -crop " + crop +
                      " +repage PNG32:cut.png && compare -metric AE cut.png PNG32:render.png null:");
    EXPECT_EQ(compared.output, "0") << "pixels that differ";
}

// What Tiled saves of the export, in each of its data formats and with its
// tilesets in files of their own, imports to the very layer files exported;
// layers in another order and a layer the game has no use for do not matter.
TEST(TiledImport, WhatTiledSavesOfTheExportImportsToTheSameLayerFiles) {
    if (!have_tiled())
        GTEST_SKIP() << "no tiled (scripts/install-deps.sh installs it)";
    TempDir dir;
    export_default_world(dir.path);
    std::string exported = read_file(dir.path / "map" / "world.tmx");
    Grid grids[3] = {csv_grid(exported, "terrain"), csv_grid(exported, "objects"), csv_grid(exported, "monsters")};
    struct Format {
        const char *encoding, *compression, *tileset_files, *saved_as, *saved_marker;
    };
    const Format formats[] = {
        {"csv", "", "", "", ""}, // the export itself, not re-saved
        {"csv", "", "", "tmx", "encoding=\"csv\""},
        {"csv", "", "tsj", "json", "\"source\":\"lamplight-1.tsj\""},
        {"base64", "", "tsx", "tmx", "source=\"lamplight-1.tsx\""},
        {"base64", "zlib", "", "json", "\"compression\":\"zlib\""},
        {"base64", "gzip", "tsx", "tmx", "compression=\"gzip\""},
        {"base64", "zstd", "", "tmx", "compression=\"zstd\""},
        {"base64", "zstd", "tsj", "json", "\"compression\":\"zstd\""},
    };
    int n = 0;
    for (const Format &f : formats) {
        std::string name = std::string(f.encoding) + "-" + f.compression + "-" + f.tileset_files + "-" + f.saved_as;
        SCOPED_TRACE(name);
        fs::path folder = dir.path / "map", layers = dir.path / ("layers-" + std::to_string(n++));
        fs::create_directories(layers);
        std::string map = "map/world.tmx";
        if (f.saved_as[0]) {
            std::string tilesets = f.tileset_files[0] ? external_tilesets(tilesets_of(exported), folder, f.tileset_files[2] == 'j')
                                                      : tilesets_of(exported);
            std::string source = tmx_map(tilesets, grids, f.encoding, f.compression, "infinite=\"0\"", n % 2 == 0);
            source.insert(source.rfind("</map>"), " <objectgroup id=\"8\" name=\"notes\"/>\n");
            spit(folder / "source.tmx", source);
            map = "map/" + name + (f.saved_as[0] == 'j' ? ".tmj" : ".tmx");
            ToolRun saved = tiled(dir.path, std::string("tiled --export-map ") + f.saved_as + " map/source.tmx " + map);
            ASSERT_EQ(saved.status, 0) << saved.output;
            std::string text = read_file(dir.path / map);
            text.erase(std::remove_if(text.begin(), text.end(), [](char c) { return c == ' ' || c == '\n'; }), text.end());
            EXPECT_NE(text.find(f.saved_marker), std::string::npos) << "Tiled did not keep the format:\n"
                                                                       << text.substr(0, 600);
        }
        ToolRun imported = run_tool(layers, "import-tiled " + quoted(dir.path / map));
        EXPECT_EQ(imported.status, 0) << imported.output;
        EXPECT_TRUE(same_layers(layers, dir.path / "run")) << imported.output;
        EXPECT_EQ(imported.says("layer 'notes' is none of terrain, objects, monsters; ignored"), f.saved_as[0] != 0)
            << imported.output;
    }
}

// A map the game cannot take is refused in one line naming the file and the
// place, and no layer file is written; a map that reads but fails build's
// checks is refused by them, unless forced.
TEST(TiledImport, RefusesWhatTheGameCannotTakeInOneLineAndWritesNothing) {
    const std::string TERRAIN_SET =
        " <tileset firstgid=\"1\" name=\"lamplight terrain\" tilewidth=\"16\" tileheight=\"16\" tilecount=\"90\" columns=\"10\"/>\n";
    const std::string OTHER_SETS =
        " <tileset firstgid=\"91\" name=\"lamplight objects\" tilewidth=\"16\" tileheight=\"16\" tilecount=\"14\" columns=\"14\"/>\n"
        " <tileset firstgid=\"105\" name=\"lamplight monsters 30x20\" tilewidth=\"30\" tileheight=\"20\" tilecount=\"13\" columns=\"0\"/>\n";
    const std::string TILESETS = TERRAIN_SET + OTHER_SETS;
    const Grid sound[3] = {{{1, 73, 1}, {1, 73, 1}}, {{0, 92, 0}, {0, 0, 0}}, {{0, 0, 0}, {0, 107, 0}}};
    auto with = [&](int layer, int x, int y, uint32_t gid) {
        std::vector<Grid> g(sound, sound + 3);
        g[layer][y][x] = gid;
        return tmx_map(TILESETS, g.data());
    };
    Grid wide[3] = {sound[0], {{0, 0, 0, 0}, {0, 0, 0, 0}}, sound[2]};
    std::string tmx = tmx_map(TILESETS, sound), json_map =
        "{\"width\":3,\"height\":2,\"infinite\":false,\"tilesets\":[{\"firstgid\":1,\"name\":\"lamplight terrain\"}],"
        "\"layers\":[{\"type\":\"tilelayer\",\"name\":\"terrain\",\"width\":3,\"height\":2,\"data\":[1,1,1,1,1,1]}]}";
    std::string cut_zlib = tmx_map(TILESETS, sound, "base64", "zlib");
    size_t data = cut_zlib.find("compression=\"zlib\">") + 19;
    cut_zlib.erase(data + 8, cut_zlib.find("</data>", data) - data - 8); // the stream's first six bytes only
    std::string bad_zstd = tmx_map(TILESETS, sound, "base64", "zstd");
    data = bad_zstd.find("compression=\"zstd\">") + 19;
    bad_zstd.replace(data + 8, 8, "AAAAAAAA");
    std::string short_csv = tmx;
    short_csv.replace(short_csv.find("1,73,1,\n1,73,1"), 14, "1,73,1,\n1,73");
    std::string external = tmx_map(" <tileset firstgid=\"1\" source=\"gone.tsx\"/>\n" + OTHER_SETS, sound);
    std::string no_monsters = tmx.substr(0, tmx.find(" <layer id=\"3\"")) + "</map>\n";
    std::string json_infinite = json_map;
    json_infinite.replace(json_infinite.find("\"infinite\":false"), 16, "\"infinite\":true");

    struct Refusal {
        const char *fault, *file;
        std::string text;
        const char *says;
    };
    const Refusal cases[] = {
        {"an infinite map", "m.tmx", tmx_map(TILESETS, sound, "csv", "", "infinite=\"1\""), "m.tmx: an infinite map"},
        {"an infinite JSON map", "m.tmj", json_infinite, "m.tmj: an infinite map"},
        {"layers of different sizes", "m.tmx", tmx_map(TILESETS, wide),
         "m.tmx: layer 'objects' is 4x2 tiles, the map 3x2"},
        {"a tileset that is not the game's", "m.tmx",
         tmx_map(TILESETS + " <tileset firstgid=\"200\" name=\"dungeon\" tilewidth=\"16\" tileheight=\"16\" tilecount=\"4\" columns=\"4\"/>\n",
                 std::vector<Grid>{{{1, 73, 1}, {1, 201, 1}}, sound[1], sound[2]}.data()),
         "m.tmx: layer 'terrain' cell (1, 1): a tile of tileset 'dungeon', which is none of the game's"},
        {"a flipped tile", "m.tmx", with(0, 2, 0, 0x80000001u),
         "m.tmx: layer 'terrain' cell (2, 0): the tile is flipped or rotated"},
        {"a code with no art", "m.tmx", with(0, 0, 1, 1 + 89),
         "m.tmx: layer 'terrain' cell (0, 1): tile 89 of tileset 'lamplight terrain' is code 89, which has no art (the highest is 88)"},
        {"a terrain tile among the monsters", "m.tmx", with(2, 1, 0, 73),
         "m.tmx: layer 'monsters' cell (1, 0): a tile of tileset 'lamplight terrain' belongs in the terrain layer"},
        {"an external tileset that is not there", "m.tmx", external, "m.tmx: tileset gone.tsx: file not found"},
        {"no monster layer", "m.tmx", no_monsters, "m.tmx: no tile layer named 'monsters'"},
        {"a TMX cut short", "m.tmx", tmx.substr(0, tmx.size() / 2), "m.tmx: damaged XML"},
        {"a JSON map cut short", "m.tmj", json_map.substr(0, json_map.size() - 20), "m.tmj: damaged JSON"},
        {"a zlib stream cut short", "m.tmx", cut_zlib, "m.tmx: layer 'terrain': the zlib data is damaged"},
        {"a damaged zstd frame", "m.tmx", bad_zstd, "m.tmx: layer 'terrain': the zstd data is damaged"},
        {"CSV a tile short", "m.tmx", short_csv, "m.tmx: layer 'terrain': the CSV data holds 5 tiles, the layer 6"},
    };
    for (const Refusal &c : cases) {
        SCOPED_TRACE(c.fault);
        TempDir dir;
        spit(dir.path / c.file, c.text);
        ToolRun run = run_tool(dir.path, std::string("import-tiled ") + c.file);
        EXPECT_EQ(run.status, 1);
        EXPECT_EQ(run.output.rfind(c.says, 0), 0u) << run.output;
        EXPECT_EQ(std::count(run.output.begin(), run.output.end(), '\n'), 1) << run.output;
        EXPECT_TRUE(run.says("; no layer file written")) << run.output;
        for (const char *f : LAYER_FILES)
            EXPECT_FALSE(fs::exists(dir.path / f)) << f;
    }
    // It reads, but a 3x2 world cannot hold the start view: build's check says so.
    TempDir dir;
    spit(dir.path / "m.tmx", tmx);
    ToolRun checked = run_tool(dir.path, "import-tiled m.tmx");
    EXPECT_EQ(checked.status, 1);
    EXPECT_TRUE(checked.says("no layer file written (--force writes anyway)")) << checked.output;
    EXPECT_FALSE(fs::exists(dir.path / "map.map"));
    EXPECT_EQ(run_tool(dir.path, "import-tiled --force m.tmx").status, 0);
    // Forced, it is written at the map's own size, tile for tile.
    install_allegro(SYSTEM_NONE, &errno, atexit);
    set_color_depth(8);
    PALETTE pal;
    BITMAP *terrain = load_layer((dir.path / "map.map").c_str(), pal), *objects = load_layer((dir.path / "obj.map").c_str(), pal);
    ASSERT_TRUE(terrain && objects && fs::exists(dir.path / "mob.map"));
    EXPECT_TRUE(terrain->w == 3 && terrain->h == 2 && getpixel(terrain, 1, 1) == 72 && getpixel(terrain, 2, 1) == 0);
    EXPECT_EQ(getpixel(objects, 1, 0), 2);
    destroy_bitmap(terrain);
    destroy_bitmap(objects);
}
