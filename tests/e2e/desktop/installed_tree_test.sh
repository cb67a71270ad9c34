#!/usr/bin/env bash
# `cmake --install` into a scratch prefix gives a working program away from the
# build's program folder: the layout is there, the desktop entry names the icon
# that is installed, and the installed quilo-convert lists the targets, converts
# a clip with the libraries of the installed tree (ffprobe reads the result) and
# refuses a damaged installation with its message.
set -euo pipefail
build_dir="$1"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
prefix="$work/prefix"
cmake --install "$build_dir" --prefix "$prefix" >/dev/null

fail() { echo "FAILED: $*"; exit 1; }
for file in bin/quilo-converter bin/quilo-convert share/quilo-converter/WinVersion.bin \
            share/quilo-converter/PfDef.dll share/quilo-converter/Option.ini \
            share/quilo-converter/PfSetting.ini share/quilo-converter/help/index.html; do
  [ -f "$prefix/$file" ] || fail "$file is not installed"
done
libraries="$(dirname "$(find "$prefix" -name libTranzel.so)")"
for library in libTranzel.so libauthoring.so libdiscwriter.so libvideodl.so; do
  [ -f "$libraries/$library" ] || fail "$library is not beside libTranzel.so in $libraries"
done
case "$libraries" in "$prefix"/lib*/quilo-converter) ;; *) fail "the libraries are in $libraries" ;; esac
[ -z "$(find "$prefix/bin" -name '*.so')" ] || fail "libraries in bin/"

desktop_file="$(ls "$prefix"/share/applications/*.desktop)"
icon="$(sed -n 's/^Icon=//p' "$desktop_file")"
sizes="$(ls "$prefix"/share/icons/hicolor/*/apps/"$icon".png | wc -l)"
[ "$sizes" -ge 4 ] || fail "only $sizes icon sizes for $icon"
grep -q '^Exec=quilo-converter %F$' "$desktop_file" || fail "the desktop entry does not hand files over"
grep -q '^MimeType=.*video/mp4;' "$desktop_file" || fail "the desktop entry opens no video types"
[ -f "$prefix/share/metainfo/$(basename "$desktop_file" .desktop).metainfo.xml" ] || fail "no metainfo"

mkdir -m 700 "$work/runtime"
run() {
  (cd "$work" && env -i PATH=/usr/bin:/bin HOME="$work/home" XDG_RUNTIME_DIR="$work/runtime" "$@")
}
[ "$(run "$prefix/bin/quilo-convert" --list-targets | wc -l)" -eq 43 ] || fail "--list-targets"

ffmpeg -v error -f lavfi -i testsrc2=size=160x120:rate=25 -f lavfi -i sine=frequency=440 -t 2 \
  -c:v mpeg4 -c:a mp3 -shortest "$work/clip.avi"
output="$(run "$prefix/bin/quilo-convert" --output "$work/out" /MP4 "$work/clip.avi")" ||
  fail "the installed quilo-convert did not convert: $output"
streams="$(ffprobe -v error -show_entries stream=codec_type -of csv=p=0 "$output" | sort | tr '\n' ' ')"
[ "$streams" = "audio video " ] || fail "the converted file $output holds: $streams"

# Its data are part of the installation: without them the program says so.
mv "$prefix/share/quilo-converter/WinVersion.bin" "$work/"
status=0
message="$(run "$prefix/bin/quilo-convert" /MP4 "$work/clip.avi" 2>&1)" || status=$?
[ "$status" -eq 2 ] || fail "a damaged installation gave status $status: $message"
case "$message" in *"$prefix/share/quilo-converter/WinVersion.bin"*) ;; *) fail "the message: $message" ;; esac
echo "installed tree works: $prefix"
