#!/usr/bin/env bash
# Starts Kestrix on a copy of the sample configuration tree (sample/) in
# "local" mode: the copy is the configuration, nothing is downloaded and no
# server is needed. The settings live in a temporary folder of their own, so
# the user's own Kestrix settings are neither read nor changed; the folder is
# removed when Kestrix ends.
#
#   scripts/run-sample.sh [path-to-kestrix]
#
# Without a display (no DISPLAY or WAYLAND_DISPLAY) the window is started
# offscreen, saved as kestrix-sample.png beside the executable, and the tree
# is printed: a check that the window opens on the sample.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
kestrix="${1:-$here/build/kestrix}"
[ -x "$kestrix" ] || { echo "run-sample: no Kestrix executable at $kestrix (build it first)" >&2; exit 2; }

tmp="$(mktemp -d "${TMPDIR:-/tmp}/kestrix-sample.XXXXXX")"
trap 'rm -rf "$tmp"' EXIT
cp -R "$here/sample" "$tmp/working-dir"
# Kestrix keeps its settings in $XDG_DATA_HOME/Kestrix.
export XDG_DATA_HOME="$tmp/data"
mkdir -p "$XDG_DATA_HOME"

args=(--local --domain office --working-dir "$tmp/working-dir")
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  shot="$(cd "$(dirname "$kestrix")" && pwd)/kestrix-sample.png"
  echo "run-sample: no display; starting offscreen and saving the window to $shot"
  QT_QPA_PLATFORM=offscreen "$kestrix" "${args[@]}" --screenshot "$shot" 2> >(grep -v -e propagateSizeHints -e XDG_RUNTIME_DIR >&2)
else
  "$kestrix" "${args[@]}"
fi
