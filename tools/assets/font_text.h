// font_text.h -- the panel font's text form (assets/font.txt), read by the packer and the generator
#pragma once
#include <allegro.h>
#include <string>
#include <vector>

// One glyph: rows of '#' (ink) and '.' (blank), all of one length.
struct TextGlyph {
    int code;
    std::vector<std::string> rows;
};

// A font: consecutive character codes from glyphs[0].code on, one height.
struct TextFont {
    int height = 0;
    std::vector<TextGlyph> glyphs;
};

// Reads a font in the text form; false with a reason in `error` on a fault.
bool read_text_font(const std::string &path, TextFont &font, std::string &error);

// Width in pixels of `text` (each glyph plus its blank spacing column).
int text_font_width(const TextFont &font, const char *text);
// Draws `text` with its top-left corner at (x, y) in colour `colour`.
void draw_text_font(BITMAP *bmp, const TextFont &font, const char *text, int x, int y, int colour);
