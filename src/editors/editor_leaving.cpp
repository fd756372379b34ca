// editor_leaving.cpp -- opening and leaving an editor without losing a designer's work
//
// Esc saves, as always, when nothing stands in the way. What can: a file
// refused at opening (never written over), a file changed on disk since it
// was read (the designer chooses which to keep), a save that fails (the
// edits wait in memory for the next opening), and Shift+Esc (confirmed first).
#include "editors.h"
#include "player.h"
#include "view.h"
#include <cstring>

int editor_leave = LEAVE_SAVE;   // how the open editor ends
int editor_question = ASK_NONE;  // the question on the panel, if any
char editor_refusal[256];        // why the open editor's file was refused at opening
FileStamp layer_stamps[3];       // each layer file as the game last read or wrote it
BITMAP *unsaved_edits[3];        // edits a failed save left, per layer
static PALETTE unsaved_palette[3]; // the palette each of those would be saved with

static bool esc_armed = true;          // Esc was up since the last question: a press counts
static bool opened_with_unsaved = false; // the open editor took up unsaved edits
// Where the view and the player were when the editor opened.
static int opened_view[4], opened_player[2];

static BITMAP *copy_layer(BITMAP *layer) {
    BITMAP *copy = create_bitmap_ex(8, layer->w, layer->h);
    blit(layer, copy, 0, 0, 0, 0, layer->w, layer->h);
    return copy;
}

static void drop_unsaved(int layer) {
    if (unsaved_edits[layer])
        destroy_bitmap(unsaved_edits[layer]);
    unsaved_edits[layer] = nullptr;
    panel_note = unsaved_edits[0] || unsaved_edits[1] || unsaved_edits[2] ? "UNSAVED" : nullptr;
}

bool layer_file_changed(int layer) {
    return !(stamp_of_file(layer_file_name(layer)) == layer_stamps[layer]);
}

bool editor_save(int layer) {
    BITMAP **slot = layer_slot(layer);
    if (write_layer_file(layer_file_name(layer), *slot, palette) == 0) {
        layer_stamps[layer] = last_layer_stamp;
        drop_unsaved(layer);
        return true;
    }
    if (!unsaved_edits[layer])
        unsaved_edits[layer] = copy_layer(*slot);
    else
        blit(*slot, unsaved_edits[layer], 0, 0, 0, 0, (*slot)->w, (*slot)->h);
    memcpy(unsaved_palette[layer], palette, sizeof(PALETTE));
    panel_note = "UNSAVED";
    return false;
}

// The layer to edit: the edits a failed save left, else a fresh load of the
// file (dropping what play changed, as always).
static void load_for_editing(int layer) {
    editor_refusal[0] = 0;
    opened_with_unsaved = unsaved_edits[layer] != nullptr;
    if (!opened_with_unsaved) {
        reload_layer(layer);
        return;
    }
    BITMAP **slot = layer_slot(layer);
    destroy_bitmap(*slot);
    *slot = copy_layer(unsaved_edits[layer]);
    memcpy(palette, unsaved_palette[layer], sizeof(PALETTE));
}

void editor_begin(int layer) {
    load_for_editing(layer);
    open_editor_layer = layer;
    panel_override = draw_editor_panel;
    history_begin(layer_slot(layer));
    proof_begin();
    editor_leave = LEAVE_SAVE;
    editor_question = ASK_NONE;
    esc_armed = true;
    const int view[4] = {view_tx, view_ty, scroll_px, scroll_py};
    memcpy(opened_view, view, sizeof view);
    opened_player[0] = player_x;
    opened_player[1] = player_y;
}

// Puts the question on the panel; Esc must be released before it counts again.
static void ask(int question) {
    editor_question = question;
    esc_armed = false;
    bool pointer_on = open_editor_layer != 0; // the object and monster editors show the library's
    if (pointer_on)
        show_mouse(NULL);
    present_frame();
    if (pointer_on)
        show_mouse(screen);
}

bool editor_esc_held() {
    if (!key[KEY_ESC]) {
        esc_armed = true;
        return false;
    }
    if (!esc_armed)
        return false;
    if (editor_refusal[0])
        editor_leave = LEAVE_REFUSED;
    else if (shift_held() && (opened_with_unsaved || !history_layer_as_opened()))
        ask(ASK_DISCARD);
    else if (shift_held())
        editor_leave = LEAVE_DISCARD; // nothing to lose
    else if (layer_file_changed(open_editor_layer))
        ask(ASK_FILE_CHANGED);
    else
        editor_leave = LEAVE_SAVE;
    return editor_question == ASK_NONE;
}

bool editor_answer_pass() {
    if (!key[KEY_ESC])
        esc_armed = true;
    int answer = -1;
    if (key[KEY_D])
        answer = editor_question == ASK_DISCARD ? LEAVE_DISCARD : LEAVE_KEEP_FILE;
    else if (key[KEY_S] && editor_question == ASK_FILE_CHANGED)
        answer = LEAVE_SAVE;
    if (answer >= 0) {
        editor_leave = answer;
        editor_question = ASK_NONE;
        return true;
    }
    if (key[KEY_ESC] && esc_armed)
        ask(ASK_NONE); // back to editing
    return false;
}

// Every unsaved edit dropped: the layer as its file holds it (as it was
// opened, when the file cannot be taken), the view and the player back.
static void discard_edits(int layer) {
    if (!opened_with_unsaved || !reload_layer(layer))
        history_restore_opening();
    drop_unsaved(layer);
    view_tx = opened_view[0];
    view_ty = opened_view[1];
    scroll_px = opened_view[2];
    scroll_py = opened_view[3];
    player_x = opened_player[0];
    player_y = opened_player[1];
}

void editor_finish(int layer) {
    wait_for_esc_release();
    if (editor_leave == LEAVE_SAVE)
        editor_save(layer);
    else if (editor_leave == LEAVE_DISCARD)
        discard_edits(layer);
    else if (editor_leave == LEAVE_KEEP_FILE) {
        drop_unsaved(layer);
        if (!reload_layer(layer))
            history_restore_opening();
    }
    history_end();
    open_editor_layer = -1;
    panel_override = nullptr;
    editor_question = ASK_NONE;
}
