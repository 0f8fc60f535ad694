#!/bin/sh
# `make clean` removes what the build made and keeps the templates a user saved beside
# pelmo. Runs the real Makefile against a throw-away build folder.
set -eu
src=$1
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
b=$tmp/build
mkdir -p "$b/bin/Templates" "$b/programmer"
touch "$b/build.ninja" "$b/bin/pelmo" "$b/programmer/x.o" "$b/bin/Templates/mine.ept"
make -s -C "$src" clean BUILD="$b" BENCH_DIR="$tmp/bench" FUZZ_DIR="$tmp/fuzz" >/dev/null
[ -f "$b/bin/Templates/mine.ept" ] || { echo "saved template deleted"; exit 1; }
left=$(find "$b" -mindepth 1 | sort | tr '\n' ' ')
[ "$left" = "$b/bin $b/bin/Templates $b/bin/Templates/mine.ept " ] ||
  { echo "build outputs left: $left"; exit 1; }
rm "$b/bin/Templates/mine.ept"
make -s -C "$src" clean BUILD="$b" BENCH_DIR="$tmp/bench" FUZZ_DIR="$tmp/fuzz" >/dev/null
[ ! -e "$b" ] || { echo "an empty build folder was kept"; exit 1; }
