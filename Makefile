# Front door: `make run` and `make test` are the whole set-up.
BUILD      ?= build
BENCH_DIR  ?= build-bench
FUZZ_DIR   ?= build-fuzz
FUZZ_RUNS  ?= 1000000
JOBS       ?= $(shell nproc)
SHELL      := /bin/bash
SUDO       := $(shell [ "$$(id -u)" = 0 ] || echo sudo)
# Names Debian and Ubuntu share: libjpeg-dev brings each one's own libjpeg-turbo.
PACKAGES   ?= cmake ninja-build g++ make pkg-config qt6-base-dev libgl-dev libjpeg-dev \
              libgtest-dev libgmock-dev libbenchmark-dev qt6-base-private-dev
# libFuzzer's runtime has a package of its own except in Ubuntu 22.04, where it comes with
# clang's headers. The release is read from os-release (Ubuntu's for its derivatives too);
# any other takes Debian 12's name.
OS_RELEASE ?= /etc/os-release
RELEASE    := $(shell . "$(OS_RELEASE)" 2>/dev/null && echo "$${UBUNTU_CODENAME:-$$VERSION_CODENAME}")
CLANG_RUNTIME.bookworm := libclang-rt-14-dev
CLANG_RUNTIME.jammy    := libclang-common-14-dev
CLANG_RUNTIME.noble    := libclang-rt-18-dev
FUZZ_PACKAGES ?= clang $(or $(CLANG_RUNTIME.$(RELEASE)),$(CLANG_RUNTIME.bookworm))

.PHONY: all deps configure build run test bench fuzz screenshots clean

all: build

deps:
	@missing=""; for p in $(PACKAGES) $(EXTRA_PACKAGES); do \
	  dpkg-query -W -f='$${Status}' $$p 2>/dev/null | grep -q 'ok installed' || missing="$$missing $$p"; \
	done; \
	if [ -n "$$missing" ]; then \
	  echo "installing:$$missing"; \
	  { $(SUDO) apt-get update -qq && \
	    DEBIAN_FRONTEND=noninteractive $(SUDO) apt-get install -y -qq --no-install-recommends $$missing; } || \
	  { echo "could not install:$$missing. Name this system's packages in PACKAGES=\"...\"" \
	         "(FUZZ_PACKAGES for make fuzz), or PACKAGES= once they are installed." >&2; exit 1; }; \
	fi

$(BUILD)/build.ninja:
	cmake -S . -B $(BUILD) -G Ninja

configure: deps $(BUILD)/build.ninja

build: configure
	cmake --build $(BUILD) -j $(JOBS)

run: build
	$(BUILD)/bin/velmora

# One line a test, within 100 columns (the awk script says how).
test: build
	set -o pipefail; cd $(BUILD) && \
	  QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS) --timeout 300 | \
	  awk -f $(CURDIR)/cmake/ctest_lines.awk

bench: deps
	cmake -S . -B $(BENCH_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Release -DQX_TESTS=OFF -DQX_BENCH=ON
	cmake --build $(BENCH_DIR) -j $(JOBS) --target benchmarks
	@for b in $(BENCH_DIR)/bin/bench_*; do [ -x "$$b" ] || continue; echo "== $$b"; "$$b" || exit 1; done

fuzz:
	$(MAKE) deps EXTRA_PACKAGES="$(FUZZ_PACKAGES)"
	CC=clang CXX=clang++ cmake -S . -B $(FUZZ_DIR) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DQX_TESTS=OFF -DQX_FUZZ=ON
	cmake --build $(FUZZ_DIR) -j $(JOBS) --target fuzzers
	@for f in $(FUZZ_DIR)/bin/fuzz_*; do [ -x "$$f" ] || continue; echo "== $$f"; \
	  "$$f" -runs=$(FUZZ_RUNS) -max_len=4096 || exit 1; done

screenshots: build
	QT_QPA_PLATFORM=offscreen $(BUILD)/bin/screenshots docs
	QT_QPA_PLATFORM=offscreen $(BUILD)/bin/pelmo_screenshot docs/pelmo.png

# Removes what the build made and nothing else: programs are started from $(BUILD)/bin, so
# what a user saved there (templates, panel sets, monitor logs) stays, and is named.
clean:
	@sh $(CURDIR)/cmake/clean_build.sh $(BUILD) $(BENCH_DIR) $(FUZZ_DIR)
