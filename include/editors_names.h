// editors_names.h -- what each terrain code, object and monster kind is called (src/editors)
//
// One table for the editors' panel (short names, ten characters at most, to
// fit the panel's 8x8 font) and for the world tool's legend (descriptions).
#pragma once

// Layer 0 terrain, 1 objects, 2 monsters; any code 0..255. Codes without an
// entry of their own are named by their class ("wall", "floor", ...).
const char *code_name(int layer, int code);
const char *code_description(int layer, int code);
