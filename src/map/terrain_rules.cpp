// terrain_rules.cpp -- the table of terrain rules, built once when compiling
#include "map_terrain.h"
#include <allegro.h>
#include <array>

namespace {

constexpr std::array<TerrainRule, 257> make_table() {
    std::array<TerrainRule, 257> table = {};
    table[0] = make_terrain_rule(CODE_OUTSIDE);
    for (int code = 0; code < 256; code++)
        table[code + 1] = make_terrain_rule(code);
    return table;
}

// Row 0 is the outside of the layer, row code + 1 the code.
constexpr std::array<TerrainRule, 257> rules = make_table();

} // namespace

const TerrainRule &terrain_rule(int code) {
    return rules[code >= 0 && code < 256 ? code + 1 : 0];
}

const DirectionRule DIRECTION_RULES[4] = {
    {DIR_LEFT, -1, 0, DIR_RIGHT, true, KEY_LEFT, "left"},
    {DIR_RIGHT, 1, 0, DIR_LEFT, true, KEY_RIGHT, "right"},
    {DIR_UP, 0, -1, DIR_DOWN, false, KEY_UP, "up"},
    {DIR_DOWN, 0, 1, DIR_UP, false, KEY_DOWN, "down"},
};

const DirectionRule &direction_rule(int code) {
    static const DirectionRule still = {DIR_NONE, 0, 0, DIR_NONE, false, 0, "none"};
    for (const DirectionRule &d : DIRECTION_RULES)
        if (d.code == code)
            return d;
    return still;
}
