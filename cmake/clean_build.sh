#!/bin/sh
# clean_build.sh FOLDER...: removes from each build folder what the build made, and nothing
# else. Programs are started from bin/, so a file found there that ninja did not make is a
# user's (a template, a panel set, a monitor log); it stays, and is named.
set -u
status=0
for dir in "$@"; do
  [ "$dir" = / ] || dir=${dir%/}
  [ -d "$dir" ] || continue
  # A build made inside the source has CMake's files in every source folder: removing those
  # folders would remove the source.
  if [ -f "$dir/CMakeLists.txt" ]; then
    echo "$dir holds a CMakeLists.txt, so it is a source folder: make clean removes nothing" \
         "there. Build into a folder of its own (BUILD=build) to be able to clean it." >&2
    status=1
    continue
  fi
  # Only a folder CMake configured is cleaned: a BUILD named wrongly loses nothing.
  if [ -f "$dir/CMakeCache.txt" ] || [ -f "$dir/build.ninja" ] || [ -d "$dir/CMakeFiles" ]; then
    # Outputs the build made, also those of targets the project no longer has.
    if [ -f "$dir/build.ninja" ] && command -v ninja >/dev/null 2>&1; then
      ninja -C "$dir" -t cleandead >/dev/null 2>&1
      ninja -C "$dir" -t clean >/dev/null ||
        echo "ninja could not clean $dir: what it made is kept with the rest" >&2
    fi
    # The folders CMake made for the source's folders hold only its own and the build's files.
    find -H "$dir" -path "$dir/bin" -prune -o -name cmake_install.cmake \
      ! -path "$dir/cmake_install.cmake" -print |
      while IFS= read -r f; do
        # Gone with the folder above it, or holding a source (a copy put in the build folder).
        [ ! -d "${f%/*}" ] || [ -n "$(find "${f%/*}" -name CMakeLists.txt)" ] || rm -rf "${f%/*}"
      done
    # CMake's and ctest's files beside them, and the tests' temporary folder.
    for f in CMakeCache.txt CMakeFiles cmake_install.cmake CTestTestfile.cmake build.ninja \
             .ninja_log .ninja_deps compile_commands.json .qt Testing tmp; do
      rm -rf "${dir:?}/$f"
    done
    find -H "$dir" -depth -type d -empty -delete
  elif [ -z "$(find -H "$dir" ! -type d)" ]; then
    find -H "$dir" -depth -type d -empty -delete  # left by an earlier clean, emptied since
  fi
  [ -d "$dir" ] || continue
  kept=$(find -H "$dir" ! -type d | sort)
  n=$(printf '%s\n' "$kept" | grep -c .)
  [ "$n" -gt 0 ] || continue
  echo "kept $n file(s) in $dir that the build did not make:"
  printf '%s\n' "$kept" | head -n 10 | sed 's/^/  /'
  [ "$n" -le 10 ] || echo "  and $((n - 10)) more"
done
exit $status
