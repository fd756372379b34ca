# What a designer gets beside the editors' rules, in the real game: the
# panel of each editor, undo, and leaving without saving. Two strokes in the
# terrain editor, Backspace once, Esc: map.map holds the first stroke only.
# Then a stroke, undone and redone, and Esc with Shift still held: the panel
# asks, D drops the stroke, map.map keeps its bytes and its time, and the
# game goes on.
. "$E2E_DIR/lib.sh"
. "$E2E_DIR/editor_lib.sh"
editor_story_start

# Tile (66 + c, 151 + r) is at play-field pixel (16c, 16r); row 163 holds
# floor (72) at 69 and 70.
open_editor e
hold l 0.2
point_at 56 200 # tile (69, 163)
click 1
point_at 72 200 # tile (70, 163): a second stroke
click 1
shot terrain-editor
hold BackSpace 0.2
leave_editor
game_running || fail "the game ended with the editor"
dump_layers after
expect_changes before after terrain.txt "69 163 72 30"

keep_layers after
before_time=$(stat -c %y "$RUN_DIR/map.map")
sleep 1.1 # a save now would change the file's time
open_editor e
point_at 104 200 # tile (72, 163)
click 1
hold BackSpace 0.2
xdotool keydown Shift_L
hold BackSpace 0.2 # redo, and Shift still held for Esc
hold Escape 0.3
xdotool keyup Shift_L
shot discard-asked
other_region game-before 240 0 discard-asked 240 0 80 240 "Shift+Esc left without asking"
hold d 0.3
sleep 0.3
game_running || fail "Shift+Esc ended the game"
same_file after map.map
[ "$(stat -c %y "$RUN_DIR/map.map")" = "$before_time" ] || fail "map.map was written by Shift+Esc"

open_editor o
point_at 152 24
shot object-editor
leave_editor
open_editor m
point_at 152 24
shot monster-editor
leave_editor
game_running || fail "the game ended with the object or monster editor"

# Each panel names its editor: the three differ from each other and from the
# game's panel.
for s in terrain-editor object-editor monster-editor; do
    [ "$(differing_pixels game-before 240 0 "$s" 240 0 80 240)" -gt 500 ] || fail "$s shows the game's panel"
done
[ "$(differing_pixels terrain-editor 240 0 object-editor 240 0 80 24)" -gt 20 ] || fail "one title for two editors"
[ "$(differing_pixels object-editor 240 0 monster-editor 240 0 80 24)" -gt 20 ] || fail "one title for two editors"
quit_with_esc
pass "undo kept the first stroke only, Shift+Esc wrote nothing, each editor showed its panel"
