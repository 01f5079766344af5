#!/usr/bin/env bash
# Checks a build as a user meets it once installed: installs it into a
# temporary DESTDIR, validates the desktop entry and the AppStream metadata,
# runs the installed zentaro-cli with a fresh HOME and no data file argument
# (the sample data appears in the user's data folder, an import lands there,
# the install tree stays as installed), starts the installed window with that
# HOME under Xvfb (it shows the CLI's batch; Help opens the installed page
# through a stand-in opener), and checks the Debian package: its Depends, its
# contents and what lintian says of it (no error, no warning).
# Usage: tools/install-check.sh BUILD_DIR   (every target built)
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:?usage: install-check.sh BUILD_DIR}" && pwd)
. "$here/window-lib.sh"
app_id=org.zentaro.Zentaro
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "install-check: $*" >&2; failures=$((failures + 1)); }

echo "-- install into a DESTDIR"
dest="$work/root"
DESTDIR="$dest" cmake --install "$build" --prefix /usr > /dev/null
tree="$dest/usr"
for file in bin/zentaro bin/zentaro-cli \
            "share/zentaro/conversion data.kvx" "share/zentaro/Zentaro Help.html" \
            share/man/man1/zentaro-cli.1.gz share/man/man1/zentaro.1.gz \
            share/doc/zentaro/copyright share/doc/zentaro/changelog.gz share/lintian/overrides/zentaro \
            share/applications/$app_id.desktop share/metainfo/$app_id.metainfo.xml \
            share/icons/hicolor/scalable/apps/$app_id.svg; do
  [ -f "$tree/$file" ] || fail "$file is not installed"
done
for size in $ICON_SIZES; do
  icon="$tree/share/icons/hicolor/${size}x$size/apps/$app_id.png"
  got=$(identify -format '%wx%h' "$icon" 2>/dev/null || echo none)
  [ "$got" = "${size}x$size" ] || fail "icon ${size}x$size is $got"
done

echo "-- metadata"
desktop-file-validate "$tree/share/applications/$app_id.desktop" || fail "desktop entry invalid"
appstreamcli validate --no-net "$tree/share/metainfo/$app_id.metainfo.xml" || fail "AppStream metadata invalid"
for page in zentaro zentaro-cli; do
  warnings=$(man --warnings -l "$tree/share/man/man1/$page.1.gz" 2>&1 > /dev/null) || fail "$page(1) does not format"
  [ -z "$warnings" ] || fail "$page(1) formats with warnings: $warnings"
done

echo "-- the installed zentaro-cli with a fresh HOME"
home="$work/home"
mkdir "$home"
user_file="$home/.local/share/zentaro/conversion data.kvx"
snapshot() { (cd "$dest" && find . -printf '%p %s %m\n' | sort && find . -type f -exec sha256sum {} + | sort); }
installed=$(snapshot)
cli() { env -i HOME="$home" PATH=/usr/bin:/bin LC_ALL=C.UTF-8 "$tree/bin/zentaro-cli" --decimal-separator . "$@"; }
cli --help | grep -qF "\"$user_file\"" || fail "--help does not name $user_file"
[ ! -e "$user_file" ] || fail "--help created the data file"
cli convert 100 USD JPY > /dev/null || fail "convert without a data file failed"
cmp -s "$user_file" "$tree/share/zentaro/conversion data.kvx" || fail "the first use did not copy the sample data"
batch="2026-12-08 install check"
printf '%s\nEUR=1\nUSD=2\nJPY=300\n' "$batch" > "$work/update.txt"
cli import "$work/update.txt" > /dev/null || fail "import without a data file failed"
[ "$(cli times | tail -1)" = "$batch" ] || fail "the import did not land in $user_file"
[ "$(cli convert 10 USD JPY)" = 1500 ] || fail "convert does not use the imported batch"
[ "$(snapshot)" = "$installed" ] || fail "the CLI changed the install tree"

echo "-- the installed window with that HOME, under Xvfb"
opener="$work/opener"
mkdir "$opener"
cat > "$opener/xdg-open" <<OPENER
#!/bin/sh
printf '%s\n' "\$1" >> "$work/opened.txt"
OPENER
chmod +x "$opener/xdg-open"
cat > "$work/window.sh" <<'WINDOW'
set -u
lib=$1 work=$2 tree=$3 home=$4 opener=$5
. "$lib"
if start_window "$work/window.log" env -i HOME="$home" PATH="$opener:/usr/bin:/bin" DISPLAY="$DISPLAY" \
     XAUTHORITY="${XAUTHORITY:-}" LC_ALL=C.UTF-8 "$tree/bin/zentaro"; then
  printf '%s\n' "$WINDOW_INFO" > "$work/xwininfo.txt"
  sleep 1
  # The upload-time list's text, copied to the clipboard as a user would.
  xdotool mousemove $((left + 420)) $((top + 96)) click 1
  sleep 0.3
  xdotool key ctrl+a ctrl+c
  sleep 0.3
  xclip -o -selection clipboard > "$work/current-time.txt" 2>/dev/null || true
  # Help.
  xdotool mousemove $((left + 560)) $((top + 39)) click 1
  sleep 1.5
fi
stop_window
WINDOW
on_xvfb bash "$work/window.sh" "$here/window-lib.sh" "$work" "$tree" "$home" "$opener"
if [ ! -s "$work/xwininfo.txt" ]; then
  fail "no window named Zentaro appeared"
  cat "$work/window.log" >&2
else
  got=$(cat "$work/current-time.txt" 2>/dev/null || true)
  [ "$got" = "$batch" ] || fail "the window's current upload time is '$got', not the CLI's batch '$batch'"
  opened=$(cat "$work/opened.txt" 2>/dev/null || true)
  [ "$opened" = "/usr/share/zentaro/Zentaro Help.html" ] || [ "$opened" = "$tree/share/zentaro/Zentaro Help.html" ] ||
    fail "Help opened '$opened', not the installed page"
  [ -f "$opened" ] || fail "Help opened '$opened', which does not exist"
  echo "current upload time '$got'; Help opened '$opened'"
fi
[ "$(snapshot)" = "$installed" ] || fail "the window changed the install tree"

echo "-- the Debian package"
(cd "$work" && cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work/deb" > "$work/cpack.log" 2>&1) ||
  { cat "$work/cpack.log" >&2; fail "cpack -G DEB failed"; }
deb=$(ls "$work"/deb/*.deb 2>/dev/null | head -1 || true)
if [ -n "$deb" ]; then
  depends=$(dpkg-deb -f "$deb" Depends)
  echo "Depends: $depends"
  for package in libqt6widgets6 libqt6gui6 qt6-wayland libcurl4 libzip4; do
    grep -qE "(^|, )$package( |,|$)" <<< "$depends" || fail "Depends lacks $package"
  done
  contents=$(dpkg-deb -c "$deb")
  for file in ./usr/bin/zentaro ./usr/bin/zentaro-cli ./usr/share/applications/$app_id.desktop \
              ./usr/share/man/man1/zentaro.1.gz ./usr/share/doc/zentaro/copyright; do
    grep -qF " $file" <<< "$contents" || fail "the package lacks $file"
  done
  # Errors and warnings fail; what lintian only mentions (I:, P:, N:) does not.
  if ! command -v lintian > /dev/null; then
    fail "lintian is missing (tools/install-deps.sh test installs it)"
  else
    lintian --no-tag-display-limit "$deb" > "$work/lintian.txt" 2>&1 || true
    if grep -qE '^[EW]: ' "$work/lintian.txt"; then
      grep -E '^[EW]: ' "$work/lintian.txt" >&2
      fail "lintian reports errors or warnings on the package"
    else
      echo "lintian: no errors, no warnings"
    fi
  fi
else
  fail "no package was made"
fi

[ "$failures" -eq 0 ] || exit 1
echo "install-check: installed, validated and run"
