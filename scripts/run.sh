#!/usr/bin/env bash
# Installs what is missing, builds, installs the player to its own folder (with
# its launcher entry and icon in the user's share folder) and starts it.
# Arguments are handed to the player: files, folders or playlists to play.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/build.sh -DQP_BUILD_TESTS=OFF -DQP_BUILD_BENCH=OFF
cmake --install build >/dev/null
share=$(sed -n 's/^QP_SHARE_DIR:PATH=//p' build/CMakeCache.txt)
# Menus pick the new entry up sooner when their caches are refreshed; neither tool is required.
update-desktop-database -q "$share/applications" 2>/dev/null || true
gtk-update-icon-cache -q -t "$share/icons/hicolor" 2>/dev/null || true
dir=$(sed -n 's/^QP_INSTALL_DIR:PATH=//p' build/CMakeCache.txt)
exec "$dir/quillon-player" "$@"
