// summary.cpp -- how the run went: score of the world's whole score, hit points, time, rooms seen of all rooms
#include "shell_summary.h"
#include "shell_input.h"
#include "map.h"
#include "map_kinds.h"
#include "map_terrain.h"
#include "player.h"
#include "view.h"
#include "assets.h"
#include <allegro.h>
#include <chrono>
#include <vector>

bool summary_on = false; // --summary: show the figures when the run ends

// A room as find_room_bounds measures it.
struct RoomBox {
    int left, top, right, bottom;
    bool seen;
};
static std::vector<RoomBox> world_rooms; // every room of the world, measured at the start
static int world_score;                  // what every object of the world adds to the score
static std::chrono::steady_clock::time_point run_start; // when play began

static bool same_room(const RoomBox &r) {
    return r.left == room_left && r.top == room_top && r.right == room_right && r.bottom == room_bottom;
}

// Measures the room round every tile the player can stand on; the
// distinct bounds are the world's rooms. Leaves the room bounds as found.
static void find_world_rooms() {
    int keep[4] = {room_left, room_top, room_right, room_bottom};
    world_rooms.clear();
    for (int y = 0; y < terrain_layer->h; y++)
        for (int x = 0; x < terrain_layer->w; x++) {
            const TerrainRule &rule = terrain_rule(terrain_at(x, y));
            if (rule.blocks_player || rule.bounds_room)
                continue;
            find_room_bounds(x, y);
            bool known = false;
            for (const RoomBox &r : world_rooms)
                known = known || same_room(r);
            if (!known)
                world_rooms.push_back({room_left, room_top, room_right, room_bottom, false});
        }
    room_left = keep[0], room_top = keep[1], room_right = keep[2], room_bottom = keep[3];
}

void summary_start() {
    if (!summary_on)
        return;
    world_score = 0;
    for (int y = 0; y < object_layer->h; y++)
        for (int x = 0; x < object_layer->w; x++) {
            const ObjectKind *kind = object_kind(layer_code(object_layer, x, y));
            if (kind && kind->effect == EFFECT_SCORE)
                world_score += kind->amount;
        }
    find_world_rooms();
    summary_frame();
    run_start = std::chrono::steady_clock::now();
}

void summary_frame() {
    if (!summary_on)
        return;
    for (RoomBox &r : world_rooms)
        if (same_room(r))
            r.seen = true;
}

SummaryFigures summary_figures() {
    int seen = 0;
    for (const RoomBox &r : world_rooms)
        seen += r.seen;
    auto played = std::chrono::steady_clock::now() - run_start;
    int seconds = (int)std::chrono::duration_cast<std::chrono::seconds>(played).count();
    return {score, world_score, player_hp > 0 ? player_hp / 100 : 0, seconds, seen, (int)world_rooms.size()};
}

static bool any_key_down() {
    for (int k = 1; k < KEY_MAX; k++)
        if (key[k])
            return true;
    return false;
}

// The figures over the play field; the panel beside them keeps the counters.
static void draw_summary(const char *reason) {
    SummaryFigures f = summary_figures();
    FONT *panel_font = (FONT *)game_data[PANEL_FONT].dat;
    int white = makecol(255, 255, 255), yellow = makecol(255, 200, 0);
    rectfill(back_buffer, 0, 0, 239, 239, makecol(0, 0, 0));
    const char *title = reason[0] == 'g' ? "YOU TOOK THE PRIZE" : reason[0] == 'd' ? "YOU DIED" : "GAME OVER";
    textprintf_centre_ex(back_buffer, panel_font, 120, 50, yellow, -1, "%s", title);
    textprintf_centre_ex(back_buffer, panel_font, 120, 90, white, -1, "SCORE %d OF %d", f.score, f.whole_score);
    textprintf_centre_ex(back_buffer, panel_font, 120, 110, white, -1, "HP %d", f.hp);
    textprintf_centre_ex(back_buffer, panel_font, 120, 130, white, -1, "TIME %d:%02d", f.seconds / 60,
                         f.seconds % 60);
    textprintf_centre_ex(back_buffer, panel_font, 120, 150, white, -1, "ROOMS %d OF %d", f.rooms_seen, f.rooms);
    textprintf_centre_ex(back_buffer, panel_font, 120, 200, yellow, -1, "PRESS A KEY");
    present_frame();
}

void show_summary(const char *reason) {
    if (!summary_on)
        return;
    give_keys_back();
    draw_summary(reason);
    // The key that ended the run is let go of first; then any key ends.
    auto until = std::chrono::steady_clock::now() + std::chrono::seconds(SUMMARY_SECONDS);
    bool released = false;
    while (std::chrono::steady_clock::now() < until) {
        bool down = any_key_down();
        if (released && down)
            break;
        released = released || !down;
        rest(20);
    }
}
