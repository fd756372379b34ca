// editor_history.cpp -- undo, redo, and leaving an editor without saving
//
// A stroke is every tile changed while a mouse button stayed down. Strokes
// are kept while the editor is open; the layer as it was opened is kept too,
// so that a discard can put it back.
#include "editors.h"
#include "map.h"
#include <cstring>
#include <vector>

namespace {

struct TileChange {
    int x, y, before, after;
};
using Stroke = std::vector<TileChange>;

BITMAP **edited = nullptr;       // the global of the layer being edited
BITMAP *opened_copy = nullptr;   // that layer as the editor opened it
std::vector<Stroke> undo_strokes;   // strokes since the editor opened, the last one undone first
std::vector<Stroke> redo_strokes;   // strokes undone, the last undone redone first; a new stroke clears it
bool stroke_open = false;        // a button is down and its stroke is being recorded
int changes = 0;                 // strokes ended, undone or redone: the layer may read otherwise
bool backspace_was_down = false; // undo and redo act once per press

void replay(const Stroke &stroke, bool forward) {
    if (forward)
        for (const TileChange &c : stroke)
            putpixel(*edited, c.x, c.y, c.after);
    else
        for (auto c = stroke.rbegin(); c != stroke.rend(); ++c)
            putpixel(*edited, c->x, c->y, c->before);
}

} // namespace

bool shift_held() { return key[KEY_LSHIFT] || key[KEY_RSHIFT]; }

void history_begin(BITMAP **layer) {
    history_end();
    edited = layer;
    opened_copy = create_bitmap_ex(8, (*layer)->w, (*layer)->h);
    blit(*layer, opened_copy, 0, 0, 0, 0, (*layer)->w, (*layer)->h);
}

void history_end() {
    if (opened_copy)
        destroy_bitmap(opened_copy);
    opened_copy = nullptr;
    edited = nullptr;
    undo_strokes.clear();
    redo_strokes.clear();
    stroke_open = false;
    backspace_was_down = false;
}

void history_paint(BITMAP **layer, int tx, int ty, int value) {
    int before = layer_code(*layer, tx, ty);
    if (before < 0 || before == value)
        return; // outside the layer, or no change
    if (layer == edited && editor_refusal[0])
        return; // its file was refused: nothing painted could ever be saved
    if (layer != edited) { // no editor opened it: painted, not recorded
        putpixel(*layer, tx, ty, value);
        return;
    }
    if (!stroke_open) {
        undo_strokes.emplace_back();
        redo_strokes.clear();
        stroke_open = true;
    }
    undo_strokes.back().push_back({tx, ty, before, value});
    putpixel(*edited, tx, ty, value);
}

void history_buttons_released() {
    changes += stroke_open;
    stroke_open = false;
}

int history_changes() { return changes; }

// Moves the newest stroke of `from` onto `to`, replaying it forwards (redo)
// or backwards (undo); false when `from` is empty.
static bool move_stroke(std::vector<Stroke> &from, std::vector<Stroke> &to, bool forward) {
    stroke_open = false;
    if (from.empty())
        return false;
    replay(from.back(), forward);
    changes++;
    to.push_back(from.back());
    from.pop_back();
    return true;
}

bool history_undo() { return move_stroke(undo_strokes, redo_strokes, false); }
bool history_redo() { return move_stroke(redo_strokes, undo_strokes, true); }

int history_undo_count() { return (int)undo_strokes.size(); }
int history_redo_count() { return (int)redo_strokes.size(); }

void history_restore_opening() {
    if (edited && opened_copy && (*edited)->w == opened_copy->w && (*edited)->h == opened_copy->h)
        blit(opened_copy, *edited, 0, 0, 0, 0, opened_copy->w, opened_copy->h);
}

bool history_layer_as_opened() {
    if (!edited || !opened_copy || (*edited)->w != opened_copy->w || (*edited)->h != opened_copy->h)
        return false;
    for (int y = 0; y < opened_copy->h; y++)
        if (memcmp(opened_copy->line[y], (*edited)->line[y], opened_copy->w) != 0)
            return false;
    return true;
}

bool editor_history_keys() {
    bool down = key[KEY_BACKSPACE];
    bool pressed = down && !backspace_was_down;
    backspace_was_down = down;
    if (!pressed)
        return false;
    return shift_held() ? history_redo() : history_undo();
}
