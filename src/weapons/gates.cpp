// gates.cpp -- switching the room's gates open and closed
#include "weapons.h"
#include "map.h"

void toggle_gates() {
    // Boundary tiles included; each tile is judged by the code it had, so a
    // gate changes exactly once per call.
    for (int tx = room_left; tx <= room_right; tx++)
        for (int ty = room_top; ty <= room_bottom; ty++) {
            int other = terrain_rule(terrain_at(tx, ty)).toggles_to;
            if (other >= 0)
                putpixel(terrain_layer, tx, ty, other);
        }
}
