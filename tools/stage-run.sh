#!/bin/sh
# Makes or refreshes the program folder "make run" runs on, outside the build.
# Usage: stage-run.sh STAGED_FOLDER RUN_FOLDER
# The program files are refreshed from the staged folder each time; the database folder BD/
# and the ini files are copied only when missing, so the data of earlier runs stays.
set -eu
from=$(cd "$1" && pwd)
mkdir -p "$2"
to=$(cd "$2" && pwd)

if [ ! -d "$to/BD" ]; then
    mkdir "$to/BD"
    cp "$from/BD/Orvanta.mcr" "$to/BD/"
fi

cd "$from"
find . -path ./BD -prune -o -type f -print | while IFS= read -r file; do
    dest="$to/$file"
    case "$file" in
    *.[iI][nN][iI]) [ -e "$dest" ] && continue ;;
    esac
    # Copies keep their time: the same size and time is the same file, without reading it.
    if [ -e "$dest" ] && [ "$(stat -c '%s %y' "$file")" = "$(stat -c '%s %y' "$dest")" ]; then
        continue
    fi
    if cmp -s "$file" "$dest"; then
        touch -r "$file" "$dest"
        continue
    fi
    mkdir -p "$(dirname "$dest")"
    # A new file under the old name: a running copy keeps the libraries it mapped.
    cp -p "$file" "$dest.new"
    mv -f "$dest.new" "$dest"
done
