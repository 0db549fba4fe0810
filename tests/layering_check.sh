#!/usr/bin/env bash
# Checks that the rooms depend one way (base <- imaging <- engine <- window,
# cli <- app) and that a private header (name_p.h) is included only by its
# own room, the room's tests and the fuzz targets.
# Usage: layering_check.sh PROJECT_ROOT
set -euo pipefail
cd "$1"

# What each room may include besides itself.
declare -A allowed=(
  [base]=""
  [imaging]="base"
  [engine]="base imaging"
  [window]="base imaging engine"
  [cli]="base imaging engine"
  [app]="base imaging engine window"
)

faults=0
fault() {
  echo "layering: $*" >&2
  faults=$((faults + 1))
}

while IFS= read -r -d '' file; do
  room=${file%%/*}
  while IFS= read -r included; do
    target=${included%%/*}
    [ "$target" = "$room" ] && continue
    if [ -n "${allowed[$room]+set}" ]; then
      case " ${allowed[$room]} " in
        *" $target "*) ;;
        *) fault "$file includes $included, but $room may not depend on $target" ;;
      esac
    fi
    if [[ "$included" == *_p.h ]]; then
      case "$file" in
        tests/"$target"/* | fuzz/*) ;;
        *) fault "$file includes the private header $included of $target" ;;
      esac
    fi
  done < <(sed -n 's/^#include "\([^"]*\)".*/\1/p' "$file" | grep -v '\.moc$' || true)
done < <(git ls-files -z '*.cpp' '*.h')

if [ "$faults" -gt 0 ]; then
  exit 1
fi
echo "layering: every include points down and private headers stay home"
