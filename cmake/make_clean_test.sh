#!/bin/sh
# `make clean` removes what the build made and keeps, and names, every file a user put in
# the build folder. Runs the real Makefile against a throw-away build folder made by ninja.
set -eu
src=$1
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
b=$tmp/build
mkdir -p "$b/bin/Templates" "$b/programmer/CMakeFiles" "$b/Testing"
printf 'rule make\n  command = touch $out\nbuild bin/pelmo bin/QX7310help/107.html programmer/x.o: make\n' \
  >"$b/build.ninja"
printf 'build bin/dropped: make\n' >>"$b/build.ninja"
ninja -C "$b" >/dev/null
# A target the project no longer has: its program stays from the earlier build.
sed -i '$d' "$b/build.ninja"
touch "$b/CMakeCache.txt" "$b/programmer/cmake_install.cmake" "$b/programmer/logo_data.cpp" \
  "$b/Testing/LastTest.log" "$b/bin/Templates/mine.ept" "$b/bin/panels.SET" "$b/bin/bus.log"
out=$(make -s -C "$src" clean BUILD="$b" BENCH_DIR="$tmp/bench" FUZZ_DIR="$tmp/fuzz")
left=$(find "$b" ! -type d | sort | tr '\n' ' ')
[ "$left" = "$b/bin/Templates/mine.ept $b/bin/bus.log $b/bin/panels.SET " ] ||
  { echo "left after make clean: $left"; exit 1; }
for f in mine.ept bus.log panels.SET; do
  echo "$out" | grep -q "/$f\$" || { echo "not named as kept: $f in: $out"; exit 1; }
done
rm "$b/bin/Templates/mine.ept" "$b/bin/panels.SET" "$b/bin/bus.log"
make -s -C "$src" clean BUILD="$b" BENCH_DIR="$tmp/bench" FUZZ_DIR="$tmp/fuzz" >/dev/null
[ ! -e "$b" ] || { echo "an empty build folder was kept"; exit 1; }
