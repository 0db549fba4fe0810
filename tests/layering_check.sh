#!/usr/bin/env bash
# Checks that the rooms depend one way, that a private header (name_p.h) is
# included only by its own room, the tests of its top folder and the fuzz
# targets, and that only base/ calls the system itself. A room is a folder
# with a library of its own; a file belongs to the deepest room holding it.
# Usage: layering_check.sh PROJECT_ROOT
set -euo pipefail
cd "$1"

# What each room may include besides itself.
declare -A allowed=(
  [base]=""
  [imaging/core]="base"
  [imaging/decoders]="base imaging/core"
  [imaging/metafile]="base imaging/core"
  [imaging]="base imaging/core imaging/decoders imaging/metafile"
  [engine]="base imaging/core imaging/decoders imaging/metafile imaging"
  [catalogue]="base imaging/core imaging/decoders imaging/metafile imaging"
  [thumbnails]="base imaging/core imaging/decoders imaging/metafile imaging engine"
  [window]="base imaging/core imaging/decoders imaging/metafile imaging engine catalogue thumbnails"
  [cli]="base imaging/core imaging/decoders imaging/metafile imaging engine catalogue thumbnails"
  [app]="base imaging/core imaging/decoders imaging/metafile imaging engine catalogue thumbnails window"
)

faults=0
fault() {
  echo "layering: $*" >&2
  faults=$((faults + 1))
}

# Sets REPLY to the room of a path: the deepest key of `allowed` that is a
# prefix of it, or nothing.
room_of() {
  local candidate
  REPLY=""
  for candidate in "${!allowed[@]}"; do
    case "$1" in
      "$candidate"/*) [ ${#candidate} -gt ${#REPLY} ] && REPLY=$candidate ;;
    esac
  done
  return 0
}

while IFS= read -r -d '' file; do
  room_of "$file"
  room=$REPLY
  # The imaging tests stand where imaging does, below the engine.
  imaging_test=false
  case "$file" in tests/imaging/*) imaging_test=true ;; esac
  while IFS= read -r included; do
    room_of "$included"
    target=$REPLY
    # The shared support at the top of tests/ links no engine.
    if $imaging_test && [[ "$included" == tests/*/* ]] &&
      [[ "$included" != tests/imaging/* ]]; then
      fault "$file includes $included, but the imaging tests may not stand on $included"
    fi
    [ -z "$target" ] && continue
    if [ -n "$room" ] && [ "$target" != "$room" ]; then
      case " ${allowed[$room]} " in
        *" $target "*) ;;
        *) fault "$file includes $included, but $room may not depend on $target" ;;
      esac
    fi
    if $imaging_test; then
      case " ${allowed[imaging]} imaging " in
        *" $target "*) ;;
        *) fault "$file includes $included, but the imaging tests may not depend on $target" ;;
      esac
    fi
    if [[ "$included" == *_p.h ]] && [ "$target" != "$room" ]; then
      case "$file" in
        tests/"${target%%/*}"/* | fuzz/*) ;;
        *) fault "$file includes the private header $included of $target" ;;
      esac
    fi
  done < <(sed -n 's/^#include "\([^"]*\)".*/\1/p' "$file" | grep -v '\.moc$' || true)
  # The system's own calls stay in base/, so that another system is one
  # room's work.
  if [ -n "$room" ] && [ "$room" != base ] &&
    grep -qE '^#include <(unistd\.h|fcntl\.h|sys/)' "$file"; then
    fault "$file calls the system directly; that belongs in base/"
  fi
done < <(git ls-files -z '*.cpp' '*.h')

if [ "$faults" -gt 0 ]; then
  exit 1
fi
echo "layering: every include points down and private headers stay home"
