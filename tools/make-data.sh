#!/usr/bin/env bash
# Remakes the pictures that ship in data/: the background tiles of 背景画像 and the preview's
# sample album Preview/Lumivert, which our own lumivert-cli generates from painted sample photos.
# Usage: tools/make-data.sh [BUILD_DIR]   (BUILD_DIR holds bin/lumivert-cli; default ./build)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
cli="$build/bin/lumivert-cli"
[ -x "$cli" ] || { echo "no $cli: build the lumivert-cli target first" >&2; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export QT_QPA_PLATFORM=offscreen

cmake -S "$root/tools/datamaker" -B "$work/datamaker" >/dev/null
cmake --build "$work/datamaker" -j2 >/dev/null
maker="$work/datamaker/datamaker"

rm -f "$root/data/背景画像/"*.jpg
"$maker" backgrounds "$root/data/背景画像"

"$maker" photos "$work/photos"
LUMIVERT_PROGRAM_DIR="$root/data" "$cli" "$work/photos" --title "Lumivert サンプル" \
  --theme basic.css --index-details no,filename --page-details filename --cover 1 --effect 0 --density 1 2>/dev/null
sample="$root/data/Preview/Lumivert"
rm -rf "$sample"
mkdir -p "$sample"
cp "$work/photos/Lumivert/"* "$sample/"
# The preview writes the background itself; the sample keeps no background of its own.
rm -f "$sample/background.jpg" "$sample/background.gif"
ls -l "$sample"
