#!/usr/bin/env bash
# Renders the main window with each of its pages (on a copy of the sample
# tree) and every dialog to PNG files, offscreen: no display is needed.
#
#   scripts/render-ui.sh [path-to-kestrix] [output-folder]
#
# Defaults: build/kestrix and build/ui-png. Prints the files written.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
kestrix="${1:-$here/build/kestrix}"
out="${2:-$here/build/ui-png}"
[ -x "$kestrix" ] || { echo "render-ui: no Kestrix executable at $kestrix (build it first)" >&2; exit 2; }

tmp="$(mktemp -d "${TMPDIR:-/tmp}/kestrix-render.XXXXXX")"
trap 'rm -rf "$tmp"' EXIT
cp -R "$here/sample" "$tmp/working-dir"
export XDG_DATA_HOME="$tmp/data"
mkdir -p "$XDG_DATA_HOME" "$out"
rm -f "$out"/*.png

QT_QPA_PLATFORM=offscreen "$kestrix" --local --domain office --working-dir "$tmp/working-dir" \
  --render-ui "$out" 2> >(grep -v -e propagateSizeHints -e XDG_RUNTIME_DIR >&2)
