// test_support.cpp -- a headless Allegro, test art and small test worlds
#include "test_support.h"
#include "fixtures/bare_world.h"
#include "assets.h"
#include "map.h"
#include "view.h"
#include "player.h"
#include "monsters.h"
#include "weapons.h"
#include "shell.h"
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

static DATAFILE game_entries[GAME_DATA_ENTRIES + 1];
static DATAFILE guy_entries[GUY_DATA_ENTRIES + 1];
static DATAFILE monster_entries[MONSTER_DATA_ENTRIES + 1];
static PALETTE test_palette;

static BITMAP *solid(int w, int h, int colour) {
    BITMAP *b = create_bitmap_ex(8, w, h);
    clear_to_color(b, colour);
    return b;
}

static void set_entry(DATAFILE &e, int type, void *dat) {
    e.dat = dat;
    e.type = type;
    e.size = 0;
    e.prop = nullptr;
}

static void end_entries(DATAFILE *entries, int n) {
    set_entry(entries[n], DAT_END, nullptr);
}

static void build_game_art() {
    for (int i = 0; i < 256; i++) {
        test_palette[i].r = (i * 63) / 255;
        test_palette[i].g = ((255 - i) * 40) / 255;
        test_palette[i].b = (i % 16) * 4;
    }
    test_palette[0].r = test_palette[0].g = test_palette[0].b = 0;
    set_entry(game_entries[PANEL_ART], DAT_BITMAP, solid(80, 240, PANEL_COLOUR));
    set_entry(game_entries[BOMB_SPRITE], DAT_BITMAP, solid(16, 16, BOMB_COLOUR));
    set_entry(game_entries[SHOT_SPRITE], DAT_BITMAP, solid(16, 16, SHOT_COLOUR));
    for (int i = 0; i < 3; i++)
        set_entry(game_entries[EXPLOSION_ART + i], DAT_BITMAP, solid(16, 16, EXPLOSION_COLOUR_BASE + i));
    set_entry(game_entries[PANEL_FONT], DAT_FONT, font);
    set_entry(game_entries[7], DAT_DATA, nullptr);
    static MIDI silent_tune = {};
    set_entry(game_entries[MUSIC], DAT_MIDI, &silent_tune);
    set_entry(game_entries[GAME_PALETTE], DAT_PALETTE, test_palette);
    for (int n = 0; n < 4; n++)
        set_entry(game_entries[SAMPLE_BASE + n], DAT_SAMPLE, create_sample(8, 0, 11025, 16));
    for (int t = 0; t <= 74; t++)
        set_entry(game_entries[TERRAIN_ART_BASE + t], DAT_BITMAP, solid(16, 16, t == 0 ? TILE0_COLOUR : t));
    for (int o = 1; o <= 14; o++) {
        BITMAP *b = solid(16, 16, 0);
        rectfill(b, 4, 4, 11, 11, OBJECT_COLOUR_BASE + o);
        set_entry(game_entries[OBJECT_ART_BASE + o], DAT_BITMAP, b);
    }
    end_entries(game_entries, GAME_DATA_ENTRIES);
}

static void build_actor_art() {
    set_entry(guy_entries[0], DAT_DATA, nullptr);
    for (int f = 0; f < 16; f++)
        set_entry(guy_entries[f + 1], DAT_BITMAP, solid(24, 32, PLAYER_COLOUR_BASE + f));
    end_entries(guy_entries, GUY_DATA_ENTRIES);
    for (int k = 1; k <= 14; k++)
        set_entry(monster_entries[k - 1], DAT_BITMAP,
                  k == 1 ? solid(82, 130, MONSTER_COLOUR_BASE + k) : solid(30, 20, MONSTER_COLOUR_BASE + k));
    end_entries(monster_entries, MONSTER_DATA_ENTRIES);
}

void start_headless() {
    static bool started = false;
    game_data = game_entries;
    guy_data = guy_entries;
    monster_data = monster_entries;
    if (started)
        return;
    started = true;
    install_allegro(SYSTEM_NONE, &errno, atexit);
    set_color_depth(8);
    build_game_art();
    build_actor_art();
    create_rgb_table(&rgb_table, test_palette, NULL);
    rgb_map = &rgb_table;
    create_light_table(&light_table, test_palette, 0, 0, 0, NULL);
    create_trans_table(&trans_table, test_palette, 128, 128, 128, NULL);
    create_buffers();
    // No graphics mode headless: a memory bitmap stands in for the screen.
    screen = create_bitmap(320, 240);
    clear_bitmap(screen);
}

void make_world(int w, int h, int fill) {
    start_headless();
    bare_world(w, h, fill);
    room_left = room_right = room_top = room_bottom = 0;
    room_lit = 1;
    pending_room_change = 7;
    has_lamp = has_ghost = 0;
    game_over = 0;
    hold_frames = 0;
    reset_player();
    reset_bomb();
    clear_shots();
    clear_bitmap(back_buffer);
    clear_bitmap(dark_buffer);
    release_all_input();
    reset_sample_counts();
}

void make_room(int left, int top, int right, int bottom, int floor, int wall) {
    rectfill(terrain_layer, left, top, right, bottom, wall);
    rectfill(terrain_layer, left + 1, top + 1, right - 1, bottom - 1, floor);
}

void release_all_input() {
    for (int i = 0; i < KEY_MAX; i++)
        key[i] = 0;
    mouse_b = 0;
    mouse_x = mouse_y = 0;
}

int tile_px(int tx) { return (tx - view_tx) * 16 - scroll_px; }
int tile_py(int ty) { return (ty - view_ty) * 16 - scroll_py; }

// The test program is linked with --wrap=play_sample, so every sound the
// game plays comes here first and is counted by its datafile entry.
static int plays[4];
int last_play_args[4]; // volume, pan, frequency, loop of the last play

extern "C" int __real_play_sample(const SAMPLE *spl, int vol, int pan, int freq, int loop);
extern "C" int __wrap_play_sample(const SAMPLE *spl, int vol, int pan, int freq, int loop) {
    for (int n = 0; n < 4; n++)
        if (spl && spl == game_entries[SAMPLE_BASE + n].dat)
            plays[n]++;
    last_play_args[0] = vol;
    last_play_args[1] = pan;
    last_play_args[2] = freq;
    last_play_args[3] = loop;
    return __real_play_sample(spl, vol, pan, freq, loop);
}

int samples_played(int n) { return plays[n]; }

void reset_sample_counts() {
    for (int &p : plays)
        p = 0;
}

bool enter_saved_world(SavedWorld &world, int w, int h, int fill, int room_floor) {
    world.dir = temp_dir();
    if (!getcwd(world.old_dir, sizeof world.old_dir) || world.dir.empty() || chdir(world.dir.c_str()) != 0)
        return false;
    make_world(w, h, fill);
    make_room(66, 151, 80, 165, room_floor);
    for (int layer = 0; layer < 3; layer++)
        save_layer(layer);
    return true;
}

void leave_saved_world(SavedWorld &world) { (void)!chdir(world.old_dir); }

// Every folder temp_dir made, removed when the program ends.
static struct TempDirs {
    std::vector<std::string> made;
    ~TempDirs() {
        for (const std::string &dir : made) {
            std::string remove = "rm -rf '" + dir + "'";
            if (system(remove.c_str()) != 0)
                fprintf(stderr, "could not remove %s\n", dir.c_str());
        }
    }
} temp_dirs;

std::string temp_dir() {
    const char *tmp = getenv("TMPDIR");
    std::string name = std::string(tmp && tmp[0] ? tmp : "/tmp") + "/lamplight_test_XXXXXX";
    std::vector<char> buf(name.begin(), name.end());
    buf.push_back(0);
    if (!mkdtemp(buf.data()))
        return "";
    temp_dirs.made.push_back(buf.data());
    return buf.data();
}

std::vector<unsigned char> file_bytes(const std::string &path) {
    std::vector<unsigned char> out;
    FILE *f = fopen(path.c_str(), "rb");
    int c;
    while (f && (c = fgetc(f)) != EOF)
        out.push_back((unsigned char)c);
    if (f)
        fclose(f);
    return out;
}
