#!/usr/bin/env bash
# Fails when a source folder includes a folder above it, or when Qt reaches a
# folder that must build without it. Dependencies point one way:
#   app -> library -> playback -> audio, ui;  library -> data, ui, playlists;
#   ui, data, audio, playlists -> core;  app -> desktop -> ui, core (the
#   desktop's media controls know nothing of the window)
# The entry (src/main.cpp) may use everything. Tests of a folder follow the
# folder's rule, plus the shared test support; they never reach the window from below.
set -euo pipefail
root="${1:-$(dirname "$0")/..}"

declare -A allowed=(
  [core]="core"
  [data]="core data"
  [audio]="core audio"
  [ui]="core ui"
  [playback]="core audio ui playback"
  [playlists]="core playlists"
  [library]="core data ui playback playlists library"
  [desktop]="core ui desktop"
  [app]="core data audio ui playback playlists library desktop app"
)
qtFree="core data audio"

status=0
check() {  # folder to scan, rule name, extra allowed folders
  local dir=$1 rule=$2 extra=$3
  [ -d "$dir" ] || return 0
  while IFS=: read -r file line text; do
    target=$(sed -E 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*"([a-z]+)\/.*/\1/' <<<"$text")
    if [[ " ${allowed[$rule]} $extra " != *" $target "* ]]; then
      echo "$file:$line: $rule may not include $target/: $text"
      status=1
    fi
  done < <(grep -rnE '^[[:space:]]*#[[:space:]]*include[[:space:]]*"[a-z]+/' "$dir" || true)
}
for folder in "${!allowed[@]}"; do
  check "$root/src/$folder" "$folder" ""
  check "$root/tests/$folder" "$folder" "support"
done
# The shared test support serves the playback and library tests: nothing of app/.
check "$root/tests/support" library "support"

for folder in $qtFree; do
  [ -d "$root/src/$folder" ] || continue
  while IFS= read -r hit; do
    echo "$hit: Qt is not used in $folder/"
    status=1
  done < <(grep -rnE '^[[:space:]]*#[[:space:]]*include[[:space:]]*<(Q[A-Za-z]|qt)' "$root/src/$folder" || true)
done

# Playlist files use Qt for XSPF's XML alone.
while IFS= read -r hit; do
  echo "$hit: Qt is used in playlists/ only for XSPF"
  status=1
done < <(grep -rnE '^[[:space:]]*#[[:space:]]*include[[:space:]]*<(Q[A-Za-z]|qt)' "$root/src/playlists" 2>/dev/null |
         grep -v '^[^:]*/Xspf\.cpp:' || true)

[ "$status" -eq 0 ] && echo "dependencies point one way"
exit "$status"
