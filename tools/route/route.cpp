// route.cpp -- lamplight-route: plays a route written by hand and writes the recording of that run
//
//   lamplight-route [-C DIR] [--trace] ROUTE OUT.rec
//
// A route is a text file of steps, one a line: the keys held (the letters of
// a recording: L R U D arrows, A Alt, S Space, C and K the Controls, X Esc,
// "-" none) and how many frames, as "R*20"; "# ..." is a comment. The route
// is played headless on the datafiles and layer files of DIR (default: the
// current folder) and OUT.rec is the recording of that run, up to the frame
// the game ended in, with its end line, which is also printed. --trace
// prints the player's place after every frame, for writing routes.
//
//   lamplight-route [-C DIR] --plan OUT.rec
//
// plays the plan that the world check's reach proof finds to the goal
// instead (follow.cpp), so that the proof can be shown to hold in the game.
#include "shell_input.h"
#include "map.h"
#include "player.h"
#include "shell_replay.h"
#include "shell.h"
#include "view.h"
#include "follow.h"
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <unistd.h>

// One step "KEYS*COUNT" (or "KEYS", one frame) into recorded_keys.
static bool read_step(const char *line, const char *name, int line_no) {
    char keys[32];
    int count = 1, used = 0;
    if (sscanf(line, " %31[^* \t\r\n]%n", keys, &used) != 1)
        return true; // a blank line
    const char *rest = line + used;
    if (*rest == '*' && (sscanf(rest + 1, "%d%n", &count, &used) != 1 || count < 1)) {
        fprintf(stderr, "%s: line %d: a step is KEYS or KEYS*FRAMES\n", name, line_no);
        return false;
    }
    HeldKeys held;
    char bad;
    if (!keys_from_text(keys, &held, &bad) || keys_open_editor(held)) {
        fprintf(stderr, "%s: line %d: \"%s\" is not a set of play keys\n", name, line_no, keys);
        return false;
    }
    for (int i = 0; i < count; i++) {
        if (loaded_recording.frame_count >= MAX_RECORDED_FRAMES) {
            fprintf(stderr, "%s: line %d: too many frames\n", name, line_no);
            return false;
        }
        recorded_keys[loaded_recording.frame_count++] = (unsigned short)held.bits;
    }
    return true;
}

static bool read_route(const char *file) {
    FILE *in = fopen(file, "r");
    if (!in) {
        fprintf(stderr, "%s: cannot read the route\n", file);
        return false;
    }
    loaded_recording.frame_count = 0;
    char line[256];
    bool ok = true;
    for (int line_no = 1; ok && fgets(line, sizeof line, in); line_no++) {
        char *hash = strchr(line, '#');
        if (hash)
            *hash = '\0';
        ok = read_step(line, file, line_no);
    }
    fclose(in);
    return ok;
}

// After each frame of the game's own loop, a line: the frame, its keys, the
// player's world pixel, the tile under the middle of its box, the view
// origin, hit points, score and bombs.
static void trace_frame() {
    char keys[PLAY_KEY_COUNT + 1];
    keys_to_text(HeldKeys{recorded_keys[replay_position - 1]}, keys);
    int box_x = (PLAYER_BOX_LEFT + PLAYER_BOX_RIGHT + 1) / 2, box_y = (PLAYER_BOX_TOP + PLAYER_BOX_BOTTOM + 1) / 2;
    printf("%5d %-6s world %5d %5d  tile %3d %3d  view %3d %3d  hp %d score %d bombs %d lamp %d ghost %d\n",
           input_frames, keys, view_tx * TILE_SIZE + scroll_px + player_x, view_ty * TILE_SIZE + scroll_py + player_y,
           pixel_to_tile(view_tx, scroll_px, player_x + box_x), pixel_to_tile(view_ty, scroll_py, player_y + box_y),
           view_tx, view_ty, player_hp / 100, score, bombs, has_lamp, has_ghost);
}

// The proof's plan for the world as loaded, played; the end line is printed
// as a route's is, and a step that could not be done is named.
static const char *play_plan() {
    World world;
    for (int i = 0; i < 3; i++)
        world.layer[i] = *LAYERS[i].bitmap;
    ReachReport proof = reach_of_world(world);
    enter_first_room(); // the proof measured rooms of its own
    if (!proof.finishable) {
        fprintf(stderr, "the world check finds no way to the goal: see lamplight-world check\n");
        return nullptr;
    }
    int failed = -1;
    const char *reason = follow_plan(proof.steps, 20000, &failed);
    if (failed >= 0)
        fprintf(stderr, "the plan's step %d could not be played (%d, %d)\n", failed + 1, proof.steps[failed].x,
                proof.steps[failed].y);
    return reason;
}

int main(int argc, char **argv) {
    bool trace = false, plan = false;
    int a = 1;
    const char *dir = nullptr;
    for (; a < argc && argv[a][0] == '-'; a++) {
        if (strcmp(argv[a], "--trace") == 0)
            trace = true;
        else if (strcmp(argv[a], "--plan") == 0)
            plan = true;
        else if (strcmp(argv[a], "-C") == 0 && a + 1 < argc)
            dir = argv[++a];
        else
            break;
    }
    if (argc - a != (plan ? 1 : 2)) {
        fprintf(stderr, "usage: lamplight-route [-C DIR] [--trace] ROUTE OUT.rec\n"
                        "       lamplight-route [-C DIR] --plan OUT.rec\n");
        return 2;
    }
    std::string route = plan ? "" : argv[a], out = argv[argc - 1];
    if (dir) { // the files given relative to where we were called
        char here[4096];
        if (!getcwd(here, sizeof here) || chdir(dir) != 0) {
            fprintf(stderr, "%s: cannot enter the folder\n", dir);
            return 1;
        }
        if (!plan && route[0] != '/')
            route = std::string(here) + "/" + route;
        if (out[0] != '/')
            out = std::string(here) + "/" + out;
    }
    if ((!plan && !read_route(route.c_str())) || start_headless_game() != 0 || !start_recording(out.c_str()))
        return 1;
    input_source = plan ? INPUT_KEYBOARD : INPUT_RECORDING;
    const char *reason = plan ? play_plan() : run_frame_loop(false, trace ? trace_frame : nullptr);
    if (!reason) {
        shutdown_game();
        return 1;
    }
    char end_line[160];
    finish_run(reason, end_line);
    shutdown_game();
    return 0;
}
