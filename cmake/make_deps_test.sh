#!/bin/sh
# `make deps` asks for what is missing by the names of the system's release: the real
# Makefile with a release file of each kind and stand-ins for dpkg-query and apt-get.
set -eu
src=$1 tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
printf '#!/bin/sh\nfor p; do :; done\ncase " $HAVE " in *" $p "*) echo ok installed;; esac\n' \
  >"$tmp/dpkg-query"
printf '#!/bin/sh\n[ $1 = update ] || echo "$*" >%s/a\n' "$tmp" >"$tmp/apt-get"; chmod +x "$tmp"/*
check() {  # check RELEASE-FILE INSTALLED WANTED [MAKE-ARGS...]
  printf '%b\n' "$1" >"$tmp/os-release" && rm -f "$tmp/a" && what=$1 want=$3 HAVE=$2 && shift 3
  HAVE=$HAVE PATH="$tmp:$PATH" make -s -C "$src" deps SUDO= OS_RELEASE="$tmp/os-release" \
    EXTRA_PACKAGES='$(FUZZ_PACKAGES)' "$@" >/dev/null
  got=$(sed 's/.*--no-install-recommends *//' "$tmp/a" 2>/dev/null || :)
  [ "$got" = "$want" ] || { echo "$what: asked for '$got', wanted '$want'"; exit 1; }
}
check 'VERSION_CODENAME=bookworm' "cmake ninja-build g++ make pkg-config qt6-base-dev libgl-dev \
libgtest-dev libgmock-dev libbenchmark-dev qt6-base-private-dev" "libjpeg-dev clang libclang-rt-14-dev"
check 'VERSION_CODENAME=jammy' "clang" "libclang-common-14-dev" PACKAGES=
check 'VERSION_CODENAME=wilma\nUBUNTU_CODENAME=noble' "clang libclang-rt-18-dev" "" PACKAGES=
check 'VERSION_CODENAME=noble' "b" "a c" PACKAGES="a b c" FUZZ_PACKAGES=
