#!/bin/sh
# Every program and library of the program folder finds its libraries next to
# itself only: an empty run-path entry would make the loader search the current
# folder, where anyone may have put a library of the same name.
set -eu
folder="$1"
found=0
for file in "$folder"/*; do
    [ -f "$file" ] || continue
    head -c 4 "$file" | grep -q "ELF" || continue
    found=$((found + 1))
    paths=$(readelf -d "$file" | sed -n 's/.*(R[UN]*PATH).*\[\(.*\)\]$/\1/p')
    case ":$paths:" in
    *::*) echo "$file: an empty run-path entry in [$paths]"; exit 1 ;;
    esac
    for entry in $(echo "$paths" | tr ':' ' '); do
        case "$entry" in
        '$ORIGIN'*) ;;
        *) echo "$file: run path outside the program folder: $entry"; exit 1 ;;
        esac
    done
done
[ "$found" -gt 0 ] || { echo "no programs in $folder"; exit 1; }
echo "$found files checked"
