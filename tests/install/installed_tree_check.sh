#!/usr/bin/env bash
# Installs the build tree BUILD_DIR into a temporary prefix and checks what a
# desktop and a Debian package take from it: the two programs, the desktop
# entry, the AppStream metainfo, the MIME type of image bases, the icons, the
# manual pages and the bash completion. Stops at the first fault and says
# which. A check whose tool is not installed is skipped with a message.
# Usage: installed_tree_check.sh BUILD_DIR
set -euo pipefail

if [ "$#" -ne 1 ]; then
  echo "usage: $0 BUILD_DIR" >&2
  exit 2
fi
build=$1

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
prefix=$tmp/prefix

fail() {
  echo "installed_tree: FAILED: $*" >&2
  exit 1
}
skip() {
  echo "installed_tree: skipped: $*"
}
have() {
  command -v "$1" >/dev/null 2>&1
}

if ! cmake --install "$build" --prefix "$prefix" >"$tmp/install.log" 2>&1; then
  cat "$tmp/install.log" >&2
  fail "cmake --install $build did not complete"
fi

share=$prefix/share
desktop=$share/applications/pictarium.desktop
metainfo=$share/metainfo/org.tessaline.pictarium.metainfo.xml
mime=$share/mime/packages/pictarium.xml
svg=$share/icons/hicolor/scalable/apps/pictarium.svg
completion=$share/bash-completion/completions/pictarium-cli
manuals=("$share/man/man1/pictarium.1" "$share/man/man1/pictarium-cli.1")
mime_type=application/x-pictarium-base

# --- programs
for program in pictarium pictarium-cli; do
  [ -f "$prefix/bin/$program" ] || fail "bin/$program is not installed"
  [ -x "$prefix/bin/$program" ] || fail "bin/$program is not executable"
done

# --- every data file in its place
for file in "$desktop" "$metainfo" "$mime" "$svg" "$completion" "${manuals[@]}"; do
  [ -f "$file" ] || fail "${file#"$prefix"/} is not installed"
  [ -s "$file" ] || fail "${file#"$prefix"/} is empty"
done

# --- icons: each PNG has the size its folder names (width and height are
# the big-endian 32-bit integers at offset 16 of a PNG file)
png_signature='89 50 4e 47 0d 0a 1a 0a'
for size in 16 32 48 64 128 256; do
  icon=$share/icons/hicolor/${size}x${size}/apps/pictarium.png
  [ -f "$icon" ] || fail "the ${size}x${size} icon is not installed"
  signature=$(od -An -tx1 -N8 "$icon" | tr -s ' ' | sed 's/^ //; s/ $//')
  [ "$signature" = "$png_signature" ] || fail "${icon#"$prefix"/} is not a PNG file"
  read -r -a dimensions <<<"$(od -An -tu1 -j16 -N8 "$icon")"
  width=$(((dimensions[0] << 24) | (dimensions[1] << 16) | (dimensions[2] << 8) | dimensions[3]))
  height=$(((dimensions[4] << 24) | (dimensions[5] << 16) | (dimensions[6] << 8) | dimensions[7]))
  if [ "$width" -ne "$size" ] || [ "$height" -ne "$size" ]; then
    fail "${icon#"$prefix"/} is ${width}x${height}, not ${size}x${size}"
  fi
done

# --- the MIME package: well formed, with the type, its glob and its magic
if have xmllint; then
  for file in "$mime" "$metainfo" "$svg"; do
    xmllint --noout "$file" 2>"$tmp/xml.err" ||
      fail "${file#"$prefix"/} is not well-formed XML: $(cat "$tmp/xml.err")"
  done
  # The package's elements are in the shared-mime-info namespace.
  in_type="//*[local-name()='mime-type'][@type='$mime_type']"
  count() {
    xmllint --xpath "count($1)" "$mime"
  }
  [ "$(count "$in_type")" = 1 ] || fail "pictarium.xml does not declare $mime_type"
  [ "$(count "$in_type/*[local-name()='glob'][@pattern='*.bdp']")" = 1 ] ||
    fail "pictarium.xml gives $mime_type no *.bdp glob"
  magic="$in_type/*[local-name()='magic']/*[local-name()='match'][@offset='0']"
  little32="${magic}[@type='little32'][translate(@value,'ABCDEF','abcdef')='0x06711424']"
  bytes="${magic}[@type='string'][@value='\\x24\\x14\\x71\\x06']"
  [ "$(count "$little32 | $bytes")" -ge 1 ] ||
    fail "pictarium.xml has no magic for the signature 24 14 71 06 at offset 0"
else
  skip "xmllint is missing: the XML files are not parsed"
  grep -q "type=\"$mime_type\"" "$mime" || fail "pictarium.xml does not declare $mime_type"
  grep -q 'pattern="\*\.bdp"' "$mime" || fail "pictarium.xml gives $mime_type no *.bdp glob"
  grep -q '<magic' "$mime" || fail "pictarium.xml gives $mime_type no magic"
fi

# --- the MIME database built from the package recognises a base by its
# first bytes, whatever its name
if have update-mime-database; then
  update-mime-database "$share/mime" >"$tmp/mime.log" 2>&1 ||
    fail "update-mime-database refused the package: $(cat "$tmp/mime.log")"
  grep -aq "^\[[0-9]*:$mime_type\]" "$share/mime/magic" ||
    fail "the MIME database built from pictarium.xml has no magic for $mime_type"
  if have gio; then
    printf '\x24\x14\x71\x06\0\0\0\0' >"$tmp/empty-base"
    found=$(XDG_DATA_HOME="$share" XDG_DATA_DIRS="$share:/usr/share" \
      gio info -a standard::content-type "$tmp/empty-base" 2>"$tmp/gio.err" |
      sed -n 's/^ *standard::content-type: //p') ||
      fail "gio info could not read a file: $(cat "$tmp/gio.err")"
    [ "$found" = "$mime_type" ] ||
      fail "an empty base without extension is taken for '$found', not $mime_type"
  else
    skip "gio is missing: a base is not recognised through the MIME database"
  fi
else
  skip "update-mime-database is missing: the MIME database is not built"
fi

# --- the desktop entry
grep -qx 'Exec=pictarium %f' "$desktop" || fail "pictarium.desktop does not start pictarium %f"
grep -qx 'Icon=pictarium' "$desktop" || fail "pictarium.desktop does not name the icon pictarium"
grep -q "^MimeType=\(.*;\)\?$mime_type;" "$desktop" ||
  fail "pictarium.desktop does not open $mime_type"
if have desktop-file-validate; then
  if ! desktop-file-validate "$desktop" >"$tmp/desktop.log" 2>&1 || [ -s "$tmp/desktop.log" ]; then
    fail "desktop-file-validate: $(cat "$tmp/desktop.log")"
  fi
else
  skip "desktop-file-validate is missing"
fi

# --- the metainfo names what was installed beside it
grep -q '<launchable type="desktop-id">pictarium.desktop</launchable>' "$metainfo" ||
  fail "the metainfo does not launch pictarium.desktop"
grep -q "<mediatype>$mime_type</mediatype>" "$metainfo" ||
  fail "the metainfo does not provide $mime_type"
for program in pictarium pictarium-cli; do
  grep -q "<binary>$program</binary>" "$metainfo" || fail "the metainfo does not provide $program"
done
if have appstreamcli; then
  # Pedantic remarks (I:, P:) are accepted; warnings and errors are not.
  status=0
  appstreamcli validate --no-net "$metainfo" >"$tmp/appstream.log" 2>&1 || status=$?
  if [ "$status" -ne 0 ] || grep -q '^[EW]:' "$tmp/appstream.log"; then
    fail "appstreamcli validate: $(cat "$tmp/appstream.log")"
  fi
  # The whole tree: the metainfo must find its desktop entry there.
  status=0
  appstreamcli validate-tree --no-net "$prefix" >"$tmp/appstream.log" 2>&1 || status=$?
  if [ "$status" -ne 0 ] || grep -q '^[EW]:' "$tmp/appstream.log"; then
    fail "appstreamcli validate-tree: $(cat "$tmp/appstream.log")"
  fi
else
  skip "appstreamcli is missing"
fi

# --- the manual pages render without a warning
for page in "${manuals[@]}"; do
  name=${page##*/}
  head -n 5 "$page" | grep -q '^\.TH ' || fail "$name has no .TH line"
  if have man; then
    status=0
    LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings=w -l "$page" >"$tmp/man.out" 2>"$tmp/man.err" ||
      status=$?
    if [ "$status" -ne 0 ] || [ -s "$tmp/man.err" ]; then
      fail "man -l $name: $(cat "$tmp/man.err")"
    fi
    [ -s "$tmp/man.out" ] || fail "man -l $name renders nothing"
  else
    skip "man is missing: $name is not rendered"
  fi
  if have lexgrog; then
    lexgrog "$page" >"$tmp/lexgrog.out" 2>&1 ||
      fail "lexgrog finds no name section in $name: $(cat "$tmp/lexgrog.out")"
  fi
done

# --- the completion is valid bash and completes pictarium-cli
bash -n "$completion" 2>"$tmp/completion.err" ||
  fail "the bash completion does not parse: $(cat "$tmp/completion.err")"
# shellcheck disable=SC2016 # expanded by the inner bash
registered=$(bash -c 'source "$1" && complete -p pictarium-cli' _ "$completion" 2>&1) ||
  fail "the bash completion does not register pictarium-cli: $registered"

echo "installed_tree: the installed tree of $build is complete"
