#!/bin/sh
# folder_layers.sh -- the subsystem folders under src/ read bottom to top:
# no two folders include each other's headers. A header says its folder by
# its name (map.h and map_terrain.h are src/map's; files.h is src/files').
# Prints each folder's includes of other folders; fails on a two-way pair.
cd "$(dirname "$0")/../src" || exit 1
pairs=$(for dir in */; do
    dir=${dir%/}
    grep -ho '^#include "[a-z_]*\.h"' "$dir"/*.cpp "$dir"/*.h 2>/dev/null |
        sed 's/^#include "\([a-z]*\).*/\1/' | sort -u |
        while read -r folder; do
            [ -d "$folder" ] && [ "$folder" != "$dir" ] && echo "$dir $folder"
        done
done)
echo "$pairs" | awk '{ uses[$1] = uses[$1] " " $2 } END { for (d in uses) print d ":" uses[d] }' | sort
status=0
echo "$pairs" | while read -r a b; do
    if echo "$pairs" | grep -qx "$b $a" && [ "$a" \< "$b" ]; then
        echo "FAIL: src/$a and src/$b include each other's headers"
        echo x
    fi
done | grep -v '^x$' && status=1
[ $status = 0 ] && echo "PASS: no two folders depend on each other both ways"
exit $status
