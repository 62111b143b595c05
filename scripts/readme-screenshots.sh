#!/usr/bin/env bash
# Makes the README's pictures of the editor: builds a sample card with rqfs, starts the
# editor on it on a virtual display and captures the main window, the new-file dialog and
# the edit-file dialog with its hex editor, each as its own window.
#
#   scripts/readme-screenshots.sh [BUILD_DIR] [OUT_DIR]
#
# BUILD_DIR defaults to build/default (run `cmake --build --preset default` first), OUT_DIR
# to docs/images. Needs xvfb-run, xdotool and ImageMagick's import (scripts/install-deps.sh).
# The virtual display has no window manager, so windows have no title bars.
set -euo pipefail
cd "$(dirname "$0")/.."

build=${1:-build/default}
out=${2:-docs/images}
rqfs=$PWD/$build/cli/rqfs
editor=$PWD/$build/app/rqvfs-editor
for program in "$rqfs" "$editor"; do
  [[ -x $program ]] || { echo "readme-screenshots: $program is not built" >&2; exit 2; }
done
for tool in xvfb-run xdotool import; do
  command -v "$tool" >/dev/null || { echo "readme-screenshots: $tool is missing" >&2; exit 2; }
done
mkdir -p "$out"
out=$(cd "$out" && pwd)

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"

# The sample card: an application folder with passwords, a nested folder, and files of
# each kind at the root.
printf 'Licence 2026-0042 for build server 7\n' > licence.txt
# 300 bytes: every byte value once, then text, so the hex editor shows both columns at work.
{ LC_ALL=C awk 'BEGIN { for (i = 0; i < 256; i++) printf "%c", i }'; printf 'Sample table of the RQVfs Editor README.....'; } > table.bin
cat > layout.rqb <<'EOF'
mkdir /0001 --size 4000 --user-password 1234 --developer-password "build key"
add /0001/0010 --type data --from licence.txt
add /0001/0011 --type private-key --size 128
mkdir /0001/0020 --size 800
add /0002 --type data --from table.bin
add /0003 --type exec --size 512
mkdir /0004 --size 2000
EOF
"$rqfs" batch --new sample.rqfs layout.rqb

# Runs on the virtual display. Waits for each window by its title, then captures it alone.
cat > drive.sh <<'EOF'
set -euo pipefail
export XDG_RUNTIME_DIR=$PWD/runtime
mkdir -m 700 -p "$XDG_RUNTIME_DIR"
editor=$1 out=$2
"$editor" sample.rqfs &
pid=$!
trap 'kill $pid 2>/dev/null || true' EXIT
window() { timeout 20 xdotool search --sync --onlyvisible --name "$1" | head -n 1; }
capture() { sleep 1; import -window "$1" -define png:compression-level=9 "$out/$2"; }

main=$(window 'RQ540虚拟文件系统管理器')
sleep 1
# A click in the empty part of the folder list gives it the focus; Home and Down select its
# second row, the file 0002.
eval "$(xdotool getwindowgeometry --shell "$main")"
xdotool mousemove --window "$main" $((WIDTH * 6 / 10)) $((HEIGHT * 8 / 10)) click 1
xdotool key Home Down
capture "$main" main-window.png

# Enter opens the selected file in the edit-file dialog.
xdotool key Return
dialog=$(window '^编辑文件$')
capture "$dialog" hex-editor.png
xdotool key Escape
sleep 0.5

# The menu bar answers no Alt keys: a click on its first button opens the File menu, Right
# moves on to the Edit menu, and N chooses its "创建文件[&N]". The new-file dialog is titled
# "对话框".
xdotool windowfocus --sync "$main"
xdotool mousemove --window "$main" 15 10 click 1
sleep 0.5
xdotool key Right
sleep 0.5
xdotool key n
dialog=$(window '^对话框$')
capture "$dialog" new-file-dialog.png
xdotool key Escape
EOF
xvfb-run -a -s "-screen 0 1024x700x24" bash drive.sh "$editor" "$out"
echo "readme-screenshots: wrote main-window.png, new-file-dialog.png and hex-editor.png to $out"
