// text_world.cpp -- the world's text source (legend and three grids) to layer files and back
#include "world_tool.h"
#include "map.h"
#include "editors_names.h"
#include "files.h"
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>

const char *const layer_text_file[3] = {"terrain.txt", "objects.txt", "monsters.txt"};

// The line that ends a grid file's header; every line after it is a row.
static const char *const GRID_START = "---";

// One character per code and back, for each of the three layers.
struct Legend {
    int code_of[3][256];            // character -> code, -1 = not in the legend
    int char_of[3][256];            // code -> character, -1 = none
    std::vector<std::string> lines; // the file as read, rewritten when dump adds codes
};

// A grid file: its header and its rows.
struct Grid {
    std::vector<std::string> comments; // header lines kept as they are
    int width = 0, height = 0;         // the layer's size in tiles
    int origin_x = 0, origin_y = 0;    // the tile of the first row's first character
    std::vector<std::string> rows;
};

static void clear_legend(Legend &legend) {
    memset(legend.code_of, -1, sizeof legend.code_of);
    memset(legend.char_of, -1, sizeof legend.char_of);
    legend.lines.clear();
}

static int layer_of_word(const std::string &word) {
    for (int i = 0; i < 3; i++)
        if (word == LAYER_TITLES[i])
            return i;
    return -1;
}

static bool read_lines(const std::string &file, std::vector<std::string> &lines) {
    std::ifstream in(file);
    if (!in)
        return false;
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(line);
    }
    return true;
}

// Adds one legend line "LAYER CHAR CODE description" or says what is wrong.
static bool parse_legend_line(Legend &legend, const std::string &line, std::string &why) {
    std::istringstream in(line);
    std::string word, ch;
    int code;
    if (!(in >> word >> ch >> code)) {
        why = "expected: LAYER CHARACTER CODE description";
        return false;
    }
    int layer = layer_of_word(word);
    if (layer < 0) {
        why = "'" + word + "' is no layer (terrain, object or monster)";
        return false;
    }
    unsigned char c = ch[0];
    if (ch.size() != 1 || c <= ' ' || c > '~') {
        why = "'" + ch + "' is not one printable character";
        return false;
    }
    if (code < 0 || code > 255) {
        why = "code " + std::to_string(code) + " is outside 0..255";
        return false;
    }
    if (legend.code_of[layer][c] >= 0) {
        why = std::string("character '") + ch + "' is given twice";
        return false;
    }
    if (legend.char_of[layer][code] >= 0) {
        why = "code " + std::to_string(code) + " is given twice";
        return false;
    }
    legend.code_of[layer][c] = code;
    legend.char_of[layer][code] = c;
    return true;
}

// Reads legend.txt of `dir`. A missing file gives an empty legend when
// `may_be_missing`; otherwise it and every malformed line are errors.
static bool load_legend(const std::string &dir, Legend &legend, bool may_be_missing) {
    clear_legend(legend);
    std::string file = dir + "/legend.txt";
    if (!read_lines(file, legend.lines)) {
        if (may_be_missing)
            return true;
        fprintf(stderr, "%s: cannot be opened\n", file.c_str());
        return false;
    }
    for (size_t i = 0; i < legend.lines.size(); i++) {
        const std::string &line = legend.lines[i];
        if (line.empty() || line[0] == '#')
            continue;
        std::string why;
        if (!parse_legend_line(legend, line, why)) {
            fprintf(stderr, "%s line %zu: %s\n", file.c_str(), i + 1, why.c_str());
            return false;
        }
    }
    return true;
}

static bool parse_header_line(Grid &grid, const std::string &line) {
    char extra;
    if (sscanf(line.c_str(), "size %d %d %c", &grid.width, &grid.height, &extra) == 2)
        return true;
    if (sscanf(line.c_str(), "origin %d %d %c", &grid.origin_x, &grid.origin_y, &extra) == 2)
        return true;
    return false;
}

// Reads a grid file: header (comments, size, origin), the "---" line, rows.
static bool load_grid(const std::string &file, Grid &grid) {
    std::vector<std::string> lines;
    if (!read_lines(file, lines)) {
        fprintf(stderr, "%s: cannot be opened\n", file.c_str());
        return false;
    }
    size_t i = 0;
    bool sized = false, placed = false;
    for (; i < lines.size() && lines[i] != GRID_START; i++) {
        const std::string &line = lines[i];
        if (line.empty() || line[0] == '#') {
            grid.comments.push_back(line);
        } else if (parse_header_line(grid, line)) {
            sized |= line.compare(0, 4, "size") == 0;
            placed |= line.compare(0, 6, "origin") == 0;
        } else {
            fprintf(stderr, "%s line %zu: expected 'size W H', 'origin X Y', a comment or '%s'\n",
                    file.c_str(), i + 1, GRID_START);
            return false;
        }
    }
    if (i == lines.size() || !sized || !placed) {
        fprintf(stderr, "%s: the header needs 'size W H', 'origin X Y' and a '%s' line before the rows\n",
                file.c_str(), GRID_START);
        return false;
    }
    grid.rows.assign(lines.begin() + i + 1, lines.end());
    for (size_t r = 0; r < grid.rows.size(); r++) {
        if (grid.rows[r].size() != grid.rows[0].size()) {
            fprintf(stderr, "%s line %zu: %zu characters where the first row has %zu\n", file.c_str(),
                    i + 2 + r, grid.rows[r].size(), grid.rows[0].size());
            return false;
        }
    }
    return true;
}

// The grid must fit its layer, which must be a size the game's loader takes.
static bool grid_fits(const std::string &file, const Grid &grid) {
    int cols = grid.rows.empty() ? 0 : (int)grid.rows[0].size();
    int rows = (int)grid.rows.size();
    if (grid.width < 1 || grid.height < 1 || grid.width > MAX_LAYER_SIDE || grid.height > MAX_LAYER_SIDE) {
        fprintf(stderr, "%s: size %dx%d is outside 1x1 .. %dx%d\n", file.c_str(), grid.width, grid.height,
                MAX_LAYER_SIDE, MAX_LAYER_SIDE);
        return false;
    }
    if (grid.origin_x < 0 || grid.origin_y < 0 || grid.origin_x + cols > grid.width ||
        grid.origin_y + rows > grid.height) {
        fprintf(stderr, "%s: %dx%d rows at origin (%d, %d) do not fit a layer of %dx%d\n", file.c_str(), cols,
                rows, grid.origin_x, grid.origin_y, grid.width, grid.height);
        return false;
    }
    return true;
}

// A grey ramp: the layer files' palette is never shown by the game, and grey
// lets an image viewer show the codes.
static void layer_palette(PALETTE pal) {
    for (int i = 0; i < 256; i++)
        pal[i].r = pal[i].g = pal[i].b = i / 4;
}

// Turns the rows of `grid` into a layer bitmap; tiles outside the rows are 0.
static BITMAP *grid_to_layer(const std::string &file, const Grid &grid, const Legend &legend, int layer) {
    BITMAP *bmp = create_bitmap_ex(8, grid.width, grid.height);
    clear_to_color(bmp, 0);
    for (size_t r = 0; r < grid.rows.size(); r++) {
        for (size_t c = 0; c < grid.rows[r].size(); c++) {
            unsigned char ch = grid.rows[r][c];
            int code = legend.code_of[layer][ch];
            if (code < 0) {
                fprintf(stderr, "%s row %zu column %zu: '%c' is not in the %s legend\n", file.c_str(), r + 1,
                        c + 1, ch, LAYER_TITLES[layer]);
                destroy_bitmap(bmp);
                return nullptr;
            }
            putpixel(bmp, grid.origin_x + (int)c, grid.origin_y + (int)r, code);
        }
    }
    return bmp;
}

int write_checked_layers(BITMAP *const layers[3], bool force) {
    // Every check runs before anything is written: a world that would start
    // the player inside a wall, or never end, is not laid down.
    World world = {{layers[0], layers[1], layers[2]}};
    WorldReport report = check_world(world);
    print_report(report, false);
    if (!report.problems.empty()) {
        fprintf(stderr, "lamplight-world: %zu problem%s%s\n", report.problems.size(),
                report.problems.size() == 1 ? "" : "s",
                force ? "; writing the layer files anyway (--force)" : "; no layer file written (--force writes anyway)");
        if (!force)
            return 1;
    }
    PALETTE pal;
    layer_palette(pal);
    for (int i = 0; i < 3; i++)
        if (write_layer_file(layer_file_name(i), layers[i], pal) != 0)
            return 1;
    return 0;
}

static bool same_shape(const Grid &a, const Grid &b) {
    return a.width == b.width && a.height == b.height && a.origin_x == b.origin_x &&
           a.origin_y == b.origin_y && a.rows.size() == b.rows.size() &&
           (a.rows.empty() || a.rows[0].size() == b.rows[0].size());
}

int build_command(const std::string &source_dir, bool force) {
    Legend legend;
    if (!load_legend(source_dir, legend, false))
        return 1;
    Grid grids[3];
    for (int i = 0; i < 3; i++) {
        std::string file = source_dir + "/" + layer_text_file[i];
        if (!load_grid(file, grids[i]) || !grid_fits(file, grids[i]))
            return 1;
        if (i > 0 && !same_shape(grids[0], grids[i])) {
            fprintf(stderr, "%s: size, origin or rows differ from %s\n", file.c_str(), layer_text_file[0]);
            return 1;
        }
    }
    // Every layer is made before any file is written, so a fault leaves the old files.
    BITMAP *layers[3] = {nullptr, nullptr, nullptr};
    int status = 0;
    for (int i = 0; i < 3 && status == 0; i++) {
        layers[i] = grid_to_layer(source_dir + "/" + layer_text_file[i], grids[i], legend, i);
        if (!layers[i])
            status = 1;
    }
    if (status == 0)
        status = write_checked_layers(layers, force);
    for (BITMAP *b : layers)
        if (b)
            destroy_bitmap(b);
    return status;
}

// Gives every code used in `box` a character, taking printable characters the
// layer's legend does not use yet. False when there are not enough of them.
static bool extend_legend(Legend &legend, int layer, BITMAP *bmp, int x0, int y0, int x1, int y1) {
    bool used[256] = {};
    for (int y = y0; y <= y1; y++)
        for (int x = x0; x <= x1; x++)
            used[getpixel(bmp, x, y)] = true;
    int next = '!';
    for (int code = 0; code < 256; code++) {
        if (!used[code] || legend.char_of[layer][code] >= 0)
            continue;
        while (next <= '~' && legend.code_of[layer][next] >= 0)
            next++;
        if (next > '~') {
            fprintf(stderr, "%s layer: more distinct codes than the %d printable characters; cannot dump\n",
                    LAYER_TITLES[layer], '~' - '!' + 1);
            return false;
        }
        legend.code_of[layer][next] = code;
        legend.char_of[layer][code] = next;
        char line[160];
        snprintf(line, sizeof line, "%s %c %d %s (added by dump)", LAYER_TITLES[layer], next, code,
                 code_description(layer, code));
        legend.lines.push_back(line);
    }
    return true;
}

// Writes `text` to `file` as the game saves its layers: the old file stays
// whole until the new one is whole on disk.
static bool write_text_file(const std::string &file, const std::string &text) {
    char why[256];
    if (write_file_atomically(file.c_str(), (const unsigned char *)text.data(), (long)text.size(), why,
                              sizeof why) == 0)
        return true;
    fprintf(stderr, "%s: cannot be written: %s\n", file.c_str(), why);
    return false;
}

// The header comments of an existing grid file, so a dump keeps them.
static std::vector<std::string> kept_comments(const std::string &file, int layer) {
    std::vector<std::string> lines, comments;
    if (read_lines(file, lines))
        for (const std::string &line : lines) {
            if (line == GRID_START)
                return comments;
            if (line.empty() || line[0] == '#')
                comments.push_back(line);
        }
    comments.assign(1, std::string("# ") + LAYER_TITLES[layer] +
                           " layer of a lamplight world: one character per tile, see legend.txt");
    return comments;
}

static std::string grid_text(const std::vector<std::string> &comments, BITMAP *bmp, const Legend &legend,
                             int layer, int x0, int y0, int x1, int y1) {
    std::string text;
    for (const std::string &c : comments)
        text += c + "\n";
    text += "size " + std::to_string(bmp->w) + " " + std::to_string(bmp->h) + "\n";
    text += "origin " + std::to_string(x0) + " " + std::to_string(y0) + "\n";
    text += std::string(GRID_START) + "\n";
    for (int y = y0; y <= y1; y++) {
        for (int x = x0; x <= x1; x++)
            text += (char)legend.char_of[layer][getpixel(bmp, x, y)];
        text += "\n";
    }
    return text;
}

int dump_command(const std::string &source_dir) {
    World world;
    if (!load_world(world))
        return 1;
    int status = 0;
    for (int i = 1; i < 3; i++)
        if (world.layer[i]->w != world.layer[0]->w || world.layer[i]->h != world.layer[0]->h) {
            fprintf(stderr, "the layers have different sizes (see 'check'); cannot dump\n");
            status = 1;
            break;
        }
    // The source folder's legend, else the one kept beside the layer files
    // (an installed world's), which is then written into the source folder.
    Legend legend;
    if (status == 0 && !load_legend(source_dir, legend, true))
        status = 1;
    bool borrowed = false;
    if (status == 0 && legend.lines.empty()) {
        if (!load_legend(".", legend, true))
            status = 1;
        borrowed = !legend.lines.empty();
    }
    int x0, y0, x1, y1;
    content_box(world, x0, y0, x1, y1);
    if (legend.lines.empty())
        legend.lines.push_back("# legend of a lamplight world, one line per character: LAYER CHARACTER CODE description");
    size_t legend_lines = legend.lines.size();
    for (int i = 0; i < 3 && status == 0; i++)
        if (!extend_legend(legend, i, world.layer[i], x0, y0, x1, y1))
            status = 1;
    if (status == 0 && (borrowed || legend.lines.size() != legend_lines)) {
        std::string text;
        for (const std::string &line : legend.lines)
            text += line + "\n";
        if (!write_text_file(source_dir + "/legend.txt", text))
            status = 1;
    }
    for (int i = 0; i < 3 && status == 0; i++) {
        std::string file = source_dir + "/" + layer_text_file[i];
        std::string text = grid_text(kept_comments(file, i), world.layer[i], legend, i, x0, y0, x1, y1);
        if (!write_text_file(file, text))
            status = 1;
    }
    free_world(world);
    return status;
}
