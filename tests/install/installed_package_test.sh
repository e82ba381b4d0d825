#!/usr/bin/env bash
# The Debian package as a user gets it: builds it (scripts/build-deb.sh),
# unpacks it into a scratch root with dpkg-deb -x, and runs the programs from
# there, as a moved installed tree: meshconv finds its plug-ins, converts an
# example, tessvane-cli lists one, and Tessvane starts under Xvfb with an example
# loaded, reads its help from the installed place and writes nothing into the
# tree. The desktop files pass their validators and lintian has no complaint.
#
#   installed_package_test.sh SOURCE_DIR OUTPUT_DIR
#
# OUTPUT_DIR receives the build log and tessvane-installed.png, a picture of the
# screen with Tessvane on it.
set -uo pipefail

source_dir=$1
output_dir=$2
mkdir -p "$output_dir"
scratch=$(mktemp -d /tmp/tessvane-installed-XXXXXX)
xvfb_pid=
tessvane_pid=
cleanup() {
  [[ -n "$tessvane_pid" ]] && kill "$tessvane_pid" 2>/dev/null
  [[ -n "$xvfb_pid" ]] && kill "$xvfb_pid" 2>/dev/null
  wait 2>/dev/null
  rm -rf "$scratch"
}
trap cleanup EXIT

passed=0
failed=0
pass() {
  passed=$((passed + 1))
  echo "ok: $1"
}
fail() {
  failed=$((failed + 1))
  echo "FAILED: $1"
}
finish() {
  echo "$passed passed, $failed failed"
  [[ $failed -eq 0 ]]
  exit
}

# --- The package ------------------------------------------------------------
if ! deb=$("$source_dir/scripts/build-deb.sh" 2>&1 | tee "$output_dir/build-deb.log" | tail -n 1) ||
  [[ ! -f "$deb" ]]; then
  tail -n 30 "$output_dir/build-deb.log"
  fail "scripts/build-deb.sh builds the package (log: $output_dir/build-deb.log)"
  finish
fi
pass "built $(basename "$deb")"
root=$scratch/root
dpkg-deb -x "$deb" "$root"
version=$(dpkg-deb -f "$deb" Version)
arch=$(dpkg --print-architecture)
multiarch=$(dpkg-architecture -qDEB_HOST_MULTIARCH)

expected=(
  usr/bin/Tessvane usr/bin/tessvane-cli usr/bin/meshconv
  usr/share/tessvane/help/Tessvane.html
  usr/share/applications/org.example.Tessvane.desktop
  usr/share/metainfo/org.example.Tessvane.metainfo.xml
  usr/share/mime/packages/tessvane.xml
  usr/share/icons/hicolor/scalable/apps/tessvane.svg
  usr/share/man/man1/Tessvane.1.gz usr/share/man/man1/tessvane-cli.1.gz
  usr/share/man/man1/meshconv.1.gz
  usr/share/doc/tessvane/copyright usr/share/doc/tessvane/changelog.gz
  usr/share/doc/tessvane/examples/spaceship.iob usr/share/doc/tessvane/examples/scene.ist
  usr/share/doc/tessvane/examples/terrain.iob usr/share/doc/tessvane/examples/cube.obj
)
for plugin in objread objwrite glwrite iobread iobwrite; do
  expected+=("usr/lib/$multiarch/meshconv/$plugin.so")
done
for size in 16 22 24 32 48 64 128 256; do
  expected+=("usr/share/icons/hicolor/${size}x$size/apps/tessvane.png")
done
missing=()
for file in "${expected[@]}"; do
  [[ -f "$root/$file" ]] || missing+=("$file")
done
if [[ ${#missing[@]} -eq 0 ]]; then
  pass "the package holds all ${#expected[@]} files expected"
else
  fail "the package lacks: ${missing[*]}"
fi
[[ $(basename "$deb") == "tessvane_${version}_$arch.deb" ]] &&
  pass "the package is named tessvane_${version}_$arch.deb" ||
  fail "the package is named $(basename "$deb"), not tessvane_${version}_$arch.deb"

# --- Validators ---------------------------------------------------------------
if out=$(desktop-file-validate "$root/usr/share/applications/org.example.Tessvane.desktop" 2>&1) &&
  [[ -z "$out" ]]; then
  pass "desktop-file-validate has nothing to say"
else
  fail "desktop-file-validate: $out"
fi
if out=$(appstreamcli validate --no-net "$root/usr/share/metainfo/org.example.Tessvane.metainfo.xml" 2>&1); then
  pass "appstreamcli validate --no-net passes"
else
  fail "appstreamcli validate --no-net: $out"
fi
metainfo_version=$(grep -o -m1 '<release version="[^"]*"' "$root/usr/share/metainfo/org.example.Tessvane.metainfo.xml" |
  cut -d'"' -f2)
[[ "$metainfo_version" == "$version" ]] &&
  pass "the metainfo's newest release is the package's version" ||
  fail "the metainfo's newest release is '$metainfo_version', the package is $version"
# The MIME types compile into a database of their own.
mkdir -p "$scratch/mime/packages"
cp "$root/usr/share/mime/packages/tessvane.xml" "$scratch/mime/packages/"
if out=$(XDG_DATA_HOME=$scratch update-mime-database "$scratch/mime" 2>&1) && [[ -z "$out" ]] &&
  [[ -f "$scratch/mime/application/x-imagine-object.xml" && -f "$scratch/mime/application/x-imagine-project.xml" ]]; then
  pass "update-mime-database takes the MIME types"
else
  fail "update-mime-database: $out"
fi
if out=$(lintian --fail-on error,warning "$deb" 2>&1); then
  pass "lintian --fail-on error,warning passes${out:+ (}${out//$'\n'/; }${out:+)}"
else
  fail "lintian: $out"
fi

# --- meshconv and tessvane-cli from the unpacked tree --------------------------
export HOME=$scratch/home XDG_CONFIG_HOME=$scratch/config
mkdir -p "$HOME" "$XDG_CONFIG_HOME"
examples=$root/usr/share/doc/tessvane/examples
plugins=$(cd "$scratch" && "$root/usr/bin/meshconv" list </dev/null 2>&1 | cut -f1 | sort | tr '\n' ' ')
[[ "$plugins" == "glwrite iobread iobwrite objread objwrite " ]] &&
  pass "meshconv list finds the five plug-ins" ||
  fail "meshconv list found: $plugins"
# There and back: iobwrite, then iobread and objwrite.
if out=$(cd "$scratch" && "$root/usr/bin/meshconv" convert "$examples/cube.obj" cube.iob --quiet </dev/null 2>&1 &&
  "$root/usr/bin/meshconv" convert cube.iob back.obj --quiet </dev/null 2>&1) &&
  [[ $(grep -c '^f ' "$scratch/back.obj") -eq 12 ]]; then
  pass "meshconv convert turns the example cube into an Imagine object and back into 12 triangles"
else
  fail "meshconv convert: $out"
fi
if out=$("$root/usr/bin/tessvane-cli" list --format tsv "$examples/spaceship.iob" 2>&1) &&
  [[ $(wc -l <<<"$out") -gt 1 ]]; then
  pass "tessvane-cli list reads the example object ($(($(wc -l <<<"$out") - 1)) paths)"
else
  fail "tessvane-cli list: $out"
fi
for program in Tessvane tessvane-cli meshconv; do
  out=$("$root/usr/bin/$program" --version 2>&1)
  [[ "$out" == "$program $version" ]] && pass "$program --version says $version" ||
    fail "$program --version says '$out'"
done
help=$("$root/usr/bin/Tessvane" --help 2>&1)
grep -q -F "Help (F1): $root/usr/share/tessvane/help/Tessvane.html" <<<"$help" &&
  pass "Tessvane reads its help from the installed place" ||
  fail "Tessvane --help: $help"

# --- Tessvane on a display ------------------------------------------------------
# A settings file, so that no "Unable to load settings." stands before the window.
mkdir -p "$XDG_CONFIG_HOME/Tessvane"
printf '[VANE]\r\n' >"$XDG_CONFIG_HOME/Tessvane/Tessvane.ini"
touch "$scratch/before-start"
sleep 1
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -fbdir "$scratch" 3>"$scratch/display" 2>"$scratch/xvfb.log" &
xvfb_pid=$!
for _ in $(seq 100); do
  [[ -s "$scratch/display" ]] && break
  sleep 0.1
done
display=:$(tr -d '\n' <"$scratch/display")
if [[ "$display" == ":" ]]; then
  fail "Xvfb starts: $(cat "$scratch/xvfb.log")"
  finish
fi
(cd "$scratch" && exec env DISPLAY="$display" QT_QPA_PLATFORM=xcb \
  "$root/usr/bin/Tessvane" "$examples/spaceship.iob" >"$scratch/tessvane.log" 2>&1) &
tessvane_pid=$!
title="Tessvane v$version  -  spaceship.iob"
shown=
for _ in $(seq 600); do
  if xwininfo -display "$display" -root -tree 2>/dev/null | grep -q -F "\"$title\""; then
    shown=yes
    break
  fi
  kill -0 "$tessvane_pid" 2>/dev/null || break
  sleep 0.1
done
if [[ -n "$shown" ]]; then
  pass "Tessvane shows its window titled \"$title\""
else
  fail "Tessvane shows no window titled \"$title\": $(cat "$scratch/tessvane.log")"
fi
# Let the window and the about box draw, then keep a picture of the screen.
sleep 2
if xwdtopnm "$scratch/Xvfb_screen0" 2>/dev/null | pnmtopng >"$output_dir/tessvane-installed.png" 2>/dev/null &&
  [[ -s "$output_dir/tessvane-installed.png" ]]; then
  pass "the screen is in $output_dir/tessvane-installed.png"
else
  fail "no picture of the screen"
fi
kill "$tessvane_pid" 2>/dev/null
wait "$tessvane_pid" 2>/dev/null
tessvane_pid=
written=$(find "$root" -newer "$scratch/before-start" | sed "s|^$root||")
[[ -z "$written" ]] && pass "nothing was written into the installed tree" ||
  fail "written into the installed tree: $written"

# --- cmake --install into a prefix that is then moved ----------------------------
if cmake --install "$source_dir/build/package" --prefix "$scratch/prefix" >/dev/null &&
  mv "$scratch/prefix" "$scratch/moved" &&
  [[ $("$scratch/moved/bin/meshconv" list </dev/null 2>/dev/null | wc -l) -eq 5 ]] &&
  "$scratch/moved/bin/Tessvane" --help | grep -q -F "Help (F1): $scratch/moved/share/tessvane/help/Tessvane.html"; then
  pass "a tree installed with cmake --install works once moved"
else
  fail "a tree installed with cmake --install does not work once moved"
fi

finish
