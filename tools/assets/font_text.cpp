// font_text.cpp -- reading and drawing the panel font's text form
#include "font_text.h"
#include <fstream>

static bool fail(std::string &error, const std::string &path, int line, const std::string &why) {
    error = path + ":" + std::to_string(line) + ": " + why;
    return false;
}

// The character a "glyph" line names: "space" or the character itself.
static int glyph_code(const std::string &name) {
    if (name == "space")
        return ' ';
    return name.size() == 1 ? (unsigned char)name[0] : -1;
}

bool read_text_font(const std::string &path, TextFont &font, std::string &error) {
    std::ifstream in(path);
    if (!in)
        return fail(error, path, 0, "cannot open");
    font = TextFont();
    std::string line;
    int number = 0;
    TextGlyph *open = nullptr; // the glyph whose rows are being read
    while (std::getline(in, line)) {
        number++;
        if (open && (int)open->rows.size() < font.height) {
            if (line.find_first_not_of("#.") != std::string::npos || line.empty())
                return fail(error, path, number, "a glyph row holds only '#' and '.'");
            if (!open->rows.empty() && line.size() != open->rows[0].size())
                return fail(error, path, number, "glyph rows differ in length");
            open->rows.push_back(line);
            continue;
        }
        open = nullptr;
        if (line.empty() || line[0] == '#')
            continue;
        if (line.compare(0, 7, "height ") == 0) {
            font.height = std::stoi(line.substr(7));
            if (font.height < 1 || font.height > 64)
                return fail(error, path, number, "height must be 1..64");
        } else if (line.compare(0, 6, "glyph ") == 0) {
            int code = glyph_code(line.substr(6));
            if (code < 0 || font.height == 0)
                return fail(error, path, number, "bad glyph name, or no height yet");
            if (!font.glyphs.empty() && code != font.glyphs.back().code + 1)
                return fail(error, path, number, "glyphs must follow in character order");
            font.glyphs.push_back({code, {}});
            open = &font.glyphs.back();
        } else {
            return fail(error, path, number, "expected \"height N\" or \"glyph C\"");
        }
    }
    if (font.glyphs.empty() || (int)font.glyphs.back().rows.size() != font.height)
        return fail(error, path, number, "no glyphs, or the last glyph is cut short");
    return true;
}

static const TextGlyph *find_glyph(const TextFont &font, int code) {
    int index = code - font.glyphs[0].code;
    if (index < 0 || index >= (int)font.glyphs.size())
        return nullptr;
    return &font.glyphs[index];
}

int text_font_width(const TextFont &font, const char *text) {
    int width = 0;
    for (const char *p = text; *p; p++)
        if (const TextGlyph *g = find_glyph(font, (unsigned char)*p))
            width += (int)g->rows[0].size() + 1;
    return width;
}

void draw_text_font(BITMAP *bmp, const TextFont &font, const char *text, int x, int y, int colour) {
    for (const char *p = text; *p; p++) {
        const TextGlyph *g = find_glyph(font, (unsigned char)*p);
        if (!g)
            continue;
        for (int j = 0; j < font.height; j++)
            for (int i = 0; i < (int)g->rows[j].size(); i++)
                if (g->rows[j][i] == '#')
                    putpixel(bmp, x + i, y + j, colour);
        x += (int)g->rows[0].size() + 1;
    }
}
