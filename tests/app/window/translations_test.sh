#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Every text of the window has its English: lupdate, run over the sources
# into a copy of the translation file, adds each new or changed text as
# unfinished and drops each one the sources no longer have. The test fails on
# an unfinished translation, naming it, and on a file that lupdate would
# change, which then needs `cmake --build build --target update_translations`.
#
#   translations_test.sh LUPDATE SOURCES TS [LUPDATE OPTIONS...]
set -euo pipefail
lupdate=$1 sources=$2 ts=$3
shift 3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$ts" "$work/check.ts"
"$lupdate" -silent "$@" "$sources" -ts "$work/check.ts"

# One line per unfinished message: its context and source text.
unfinished=$(awk '
  /<name>/ { sub(/.*<name>/, ""); sub(/<\/name>.*/, ""); context = $0 }
  /<source>/ { source = $0; sub(/.*<source>/, "", source); sub(/<\/source>.*/, "", source) }
  /type="unfinished"/ { print "  " context ": " source }
' "$work/check.ts")
status=0
if [ -n "$unfinished" ]; then
  echo "Texts without a finished English translation in $ts:"
  echo "$unfinished"
  status=1
fi
if ! diff -u "$ts" "$work/check.ts" >"$work/diff"; then
  echo "$ts is not what lupdate makes of the sources; run"
  echo "  cmake --build build --target update_translations"
  echo "then translate what is new and commit the file. The difference:"
  cat "$work/diff"
  status=1
fi
[ "$status" -eq 0 ] && echo "translations: every text of $sources has its English in $ts"
exit "$status"
