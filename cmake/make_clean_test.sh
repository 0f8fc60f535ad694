#!/bin/sh
# `make clean` removes what the build made and keeps, and names, what a user put in the
# build folder. Runs the real Makefile against a throw-away build folder made by ninja.
set -eu
src=$1
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
b=$tmp/build
mkdir -p "$b/bin/Templates" "$b/programmer"
printf 'rule make\n  command = touch $out\nbuild bin/pelmo programmer/x.o bin/dropped: make\n' \
  >"$b/build.ninja"
ninja -C "$b" >/dev/null && sed -i 's| bin/dropped||' "$b/build.ninja"  # a target since dropped
touch "$b/CMakeFiles" "$b/programmer/cmake_install.cmake" "$b/bin/Templates/mine.ept" "$b/bin/a.SET"
out=$(make -s -C "$src" clean BUILD="$b" BENCH_DIR="$tmp/bench" FUZZ_DIR="$tmp/fuzz")
[ -f "$b/bin/Templates/mine.ept" ] || { echo "saved template deleted"; exit 1; }
left=$(find "$b" ! -type d | sort | tr '\n' ' ')
[ "$left" = "$b/bin/Templates/mine.ept $b/bin/a.SET " ] ||
  { echo "build outputs left: $left"; exit 1; }
echo "$out" | grep -q "^  $b/bin/a.SET" || { echo "not named as kept: $out"; exit 1; }
rm "$b/bin/Templates/mine.ept" "$b/bin/a.SET"
make -s -C "$src" clean BUILD="$b" BENCH_DIR="$tmp/bench" FUZZ_DIR="$tmp/fuzz" >/dev/null
[ ! -e "$b" ] || { echo "an empty build folder was kept"; exit 1; }
# A build made inside the source: its source folders hold CMake's files, and stay whole.
s=$tmp/src && mkdir -p "$s/sub"
touch "$s/CMakeLists.txt" "$s/CMakeCache.txt" "$s/sub/cmake_install.cmake" "$s/sub/a.cpp"
! make -s -C "$src" clean BUILD="$s" BENCH_DIR="$tmp/bench" FUZZ_DIR="$tmp/fuzz" 2>/dev/null &&
  [ -f "$s/sub/a.cpp" ] && [ -f "$s/CMakeCache.txt" ] || { echo "the source was cleaned"; exit 1; }
