// terrain_rules.cpp -- the table of terrain rules, built once when compiling
#include "map_terrain.h"
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
