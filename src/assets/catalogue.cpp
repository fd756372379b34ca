// catalogue.cpp -- the three datafiles, the art the game draws from them, and the sound calls
#include "assets.h"
#include <cstdio>

DATAFILE *game_data;    // "data.dat": art, font, music, palette, samples, tiles
DATAFILE *guy_data;     // "guy.dat": the player's 16 frames
DATAFILE *monster_data; // "monster.dat": one sprite per monster kind

// The drivers tried in turn. Windows lists sound devices that may not open
// (none at all, or no MIDI synthesizer): there the game then goes on without
// its music, or silent, as it does elsewhere on a machine without sound.
static const int sound_drivers[][2] = {
    {DIGI_AUTODETECT, MIDI_AUTODETECT},
#ifdef _WIN32
    {DIGI_AUTODETECT, MIDI_NONE},
    {DIGI_NONE, MIDI_NONE},
#endif
};

int init_sound() {
    guard_patch_set(); // the music's instruments, checked before DIGMID reads them
    int tried = 0, count = sizeof sound_drivers / sizeof sound_drivers[0];
    while (tried < count && install_sound(sound_drivers[tried][0], sound_drivers[tried][1], NULL) != 0)
        tried++;
    if (tried == count) {
#ifdef _WIN32
        fprintf(stderr, "lamplight: the sound cannot start: %s\n", allegro_error); // shown in a message box
#endif
        return -1;
    }
    set_volume(128, 200);
    return 0;
}

void play_effect(int n) {
    play_sample((SAMPLE *)game_data[SAMPLE_BASE + n].dat, 130, 130, 1000, 0);
}

// A magenta and black checker: what the editors show for a code without art.
static BITMAP *placeholder_tile() {
    static BITMAP *tile = nullptr;
    if (!tile) {
        tile = create_bitmap_ex(8, 16, 16);
        for (int y = 0; y < 16; y++)
            for (int x = 0; x < 16; x++)
                putpixel(tile, x, y, ((x / 4 + y / 4) & 1) ? 253 : 1);
    }
    return tile;
}

static int entry_count(const DATAFILE *data) {
    int n = 0;
    while (data && data[n].type != DAT_END)
        n++;
    return n;
}

BITMAP *game_bitmap(int index) {
    // Counted once per datafile (again when asked past the end, in case the
    // array was filled further): the view asks for 289 tiles a frame.
    static const DATAFILE *counted = nullptr;
    static int count = 0;
    if (game_data != counted || index >= count) {
        counted = game_data;
        count = entry_count(game_data);
    }
    if (index < 0 || index >= count || game_data[index].type != DAT_BITMAP)
        return placeholder_tile();
    return (BITMAP *)game_data[index].dat;
}

BITMAP *player_frame_art(int frame) {
    if (frame < 0 || frame > 15)
        return placeholder_tile();
    return (BITMAP *)guy_data[frame + 1].dat;
}

BITMAP *object_art(int code) {
    const ObjectKind *k = object_kind(code);
    return game_bitmap(k ? k->art_entry : OBJECT_ART_BASE + code);
}

BITMAP *monster_art(int kind) {
    const MonsterKind *k = monster_kind(kind);
    return k ? (BITMAP *)monster_data[k->art_entry].dat : placeholder_tile();
}

// A run-length copy of one art bitmap, with the bitmap it was made from, so
// that art swapped in later (tests do) is noticed and copied again.
struct SpriteCopy {
    BITMAP *source;
    RLE_SPRITE *sprite;
};
static SpriteCopy monster_sprites[MAX_MONSTER_KIND + 1]; // 0 the placeholder, then the kinds
static SpriteCopy effect_sprites[EXPLOSION_ART + 3];         // game_data entries 1..5

static RLE_SPRITE *sprite_copy(SpriteCopy &copy, BITMAP *art) {
    if (copy.source != art) {
        if (copy.sprite)
            destroy_rle_sprite(copy.sprite);
        copy.sprite = get_rle_sprite(art);
        copy.source = art;
    }
    return copy.sprite;
}

void build_sprites() {
    for (int kind = 0; kind <= MAX_MONSTER_KIND; kind++)
        monster_sprite(kind);
    for (int index = BOMB_SPRITE; index < EXPLOSION_ART + 3; index++)
        effect_sprite(index);
}

static void free_copies(SpriteCopy *table, int n) {
    for (int i = 0; i < n; i++) {
        if (table[i].sprite)
            destroy_rle_sprite(table[i].sprite);
        table[i] = SpriteCopy{nullptr, nullptr};
    }
}

void free_sprites() {
    free_copies(monster_sprites, MAX_MONSTER_KIND + 1);
    free_copies(effect_sprites, EXPLOSION_ART + 3);
}

RLE_SPRITE *monster_sprite(int kind) {
    int i = monster_kind(kind) ? kind : 0;
    return sprite_copy(monster_sprites[i], monster_art(i));
}

RLE_SPRITE *effect_sprite(int index) {
    int i = index >= BOMB_SPRITE && index < EXPLOSION_ART + 3 ? index : SHOT_SPRITE;
    return sprite_copy(effect_sprites[i], game_bitmap(i));
}

// What one used entry must be: its type, and a bitmap's size (0 = any).
struct EntryRule {
    int first, last; // inclusive range of indices
    int type;
    int width, height;
    bool at_least;   // size is a minimum rather than exact
};

static const EntryRule game_rules[] = {
    {0, 0, DAT_BITMAP, 80, 240, true},
    {1, 5, DAT_BITMAP, 0, 0, false},
    {6, 6, DAT_FONT, 0, 0, false},
    {8, 8, DAT_MIDI, 0, 0, false},
    {9, 9, DAT_PALETTE, 0, 0, false},
    {12, 13, DAT_SAMPLE, 0, 0, false},
    {14, 102, DAT_BITMAP, 16, 16, false},
};
static const EntryRule guy_rules[] = {{1, 16, DAT_BITMAP, 0, 0, false}};
static const EntryRule monster_rules[] = {{0, 13, DAT_BITMAP, 0, 0, false}};

static const char *type_name(int type) {
    switch (type) {
    case DAT_BITMAP: return "a bitmap";
    case DAT_FONT: return "a font";
    case DAT_MIDI: return "a MIDI tune";
    case DAT_PALETTE: return "a palette";
    case DAT_SAMPLE: return "a sample";
    default: return "something else";
    }
}

static bool check_entry(const DATAFILE &entry, int index, const EntryRule &rule, char *why, int why_size) {
    if (entry.type != rule.type || !entry.dat) {
        snprintf(why, why_size, "entry %d should be %s", index, type_name(rule.type));
        return false;
    }
    if (rule.type != DAT_BITMAP)
        return true;
    const BITMAP *bmp = (const BITMAP *)entry.dat;
    if (bitmap_color_depth((BITMAP *)bmp) != 8) {
        snprintf(why, why_size, "entry %d should be an 8-bit bitmap", index);
        return false;
    }
    bool too_small = bmp->w < rule.width || bmp->h < rule.height;
    bool wrong_size = rule.width && (rule.at_least ? too_small : (bmp->w != rule.width || bmp->h != rule.height));
    if (wrong_size) {
        snprintf(why, why_size, "entry %d is %dx%d, should be %s%dx%d", index, bmp->w, bmp->h,
                 rule.at_least ? "at least " : "", rule.width, rule.height);
        return false;
    }
    return true;
}

bool check_datafile(const DATAFILE *data, int which, char *why, int why_size) {
    static const int needed[] = {GAME_DATA_ENTRIES, GUY_DATA_ENTRIES, MONSTER_DATA_ENTRIES};
    const EntryRule *rules[] = {game_rules, guy_rules, monster_rules};
    const int rule_counts[] = {(int)(sizeof game_rules / sizeof *game_rules), 1, 1};
    if (which < 0 || which > 2 || !data) {
        snprintf(why, why_size, "not an Allegro datafile");
        return false;
    }
    int count = entry_count(data);
    if (count < needed[which]) {
        snprintf(why, why_size, "holds %d entries, needs at least %d", count, needed[which]);
        return false;
    }
    for (int r = 0; r < rule_counts[which]; r++) {
        const EntryRule &rule = rules[which][r];
        for (int i = rule.first; i <= rule.last; i++)
            if (!check_entry(data[i], i, rule, why, why_size))
                return false;
    }
    return true;
}
