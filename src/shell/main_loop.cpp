// main_loop.cpp -- the frame's order of work, the frame loop and the end test
#include "shell.h"
#include "map.h"
#include "view.h"
#include "player.h"
#include "monsters.h"
#include "weapons.h"
#include "editors.h"
#include "shell_input.h"
#include "shell_gamepad.h"
#include "shell_replay.h"
#include "shell_room_figures.h"
#include "shell_summary.h"

// The frame's order is fixed, and three of its drawing calls also change
// the game, so moving them changes play:
//  - draw_view(0) runs the camera first: it may scroll the view and shift
//    the player, the lit bomb, the flying shots and the monsters with it;
//  - update_bomb() draws the bomb and also burns its fuse and blasts;
//  - draw_shots() draws the shots and frees the slots of those that hit.
void frame_update_and_draw() {
    run_pending_room_change();
    update_shots();
    update_monsters();
    draw_view(0);
    draw_player();
    update_bomb();
    draw_shots();
    draw_monsters();
    if (room_lit == 1)
        present_frame();
    else
        present_dark_frame();
}

void frame_input() {
    // The seam: the rules below read key[]. Keys from the keyboard are there
    // already (writing them back could undo a release made meanwhile);
    // replayed keys, and the play keys that chosen keys stand for, are
    // written there.
    HeldKeys held = next_frame_keys();
    if (seam_writes_keys())
        apply_held_keys(held);
    if (key[KEY_ALT])
        fire_shot();
    int exit_dir = arrow_key_step();
    if (exit_dir != DIR_NONE)
        pending_room_change = exit_dir;
    if (key[KEY_SPACE])
        drop_bomb();
    if (key[KEY_LCONTROL] && key[KEY_RCONTROL]) {
        give_keys_back(); // the editors answer to the keyboard and mouse only
        if (key[KEY_E]) {
            edit_terrain();
            pending_room_change = player_dir;
        }
        if (key[KEY_O]) {
            edit_objects();
            pending_room_change = player_dir;
        }
        if (key[KEY_M]) {
            edit_monsters();
            pending_room_change = player_dir;
        }
    }
}

const char *end_reason(const char *otherwise) {
    if (player_hp <= 0)
        return "died";
    if (key[KEY_ESC])
        return "esc";
    if (game_over)
        return "goal";
    return otherwise;
}

bool game_should_end() { return end_reason(nullptr) != nullptr; }

const char *run_frame_loop(bool paced, void (*after_frame)()) {
    const char *reason;
    do {
        room_figures_frame_begin();
        frame_update_and_draw();
        if (paced)
            rest(60);
        if (input_source == INPUT_RECORDING && replay_position >= loaded_recording.frame_count)
            return "input-ended";
        frame_input();
        room_figures_frame_end();
        summary_frame();
        if (after_frame)
            after_frame();
    } while (!(reason = end_reason(nullptr)));
    return reason;
}
