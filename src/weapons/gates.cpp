// gates.cpp -- switching the room's gates open and closed
#include "weapons.h"
#include "layers.h"

constexpr int GATE_CLOSED_A = CODE_GATE_A, GATE_CLOSED_B = CODE_GATE_B; // closed gates: block everything
constexpr int GATE_OPENING = 30; // a closed gate's code plus this is its open code (56, 57)

static bool closed_gate(int c) { return c == GATE_CLOSED_A || c == GATE_CLOSED_B; }
static bool open_gate(int c) { return closed_gate(c - GATE_OPENING); }

void toggle_gates() {
    // Boundary tiles included; each tile is judged by the code it had, so a
    // gate changes exactly once per call.
    for (int tx = room_left; tx <= room_right; tx++)
        for (int ty = room_top; ty <= room_bottom; ty++) {
            int c = terrain_at(tx, ty);
            if (closed_gate(c))
                putpixel(terrain_layer, tx, ty, c + GATE_OPENING);
            if (open_gate(c))
                putpixel(terrain_layer, tx, ty, c - GATE_OPENING);
        }
}
