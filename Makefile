# Front door: `make run` and `make test` are the whole set-up.
BUILD      ?= build
BENCH_DIR  ?= build-bench
FUZZ_DIR   ?= build-fuzz
FUZZ_RUNS  ?= 1000000
JOBS       ?= $(shell nproc)
SUDO       := $(shell [ "$$(id -u)" = 0 ] || echo sudo)
PACKAGES   := cmake ninja-build g++ make pkg-config qt6-base-dev libgl-dev libjpeg62-turbo-dev \
              libgtest-dev libgmock-dev libbenchmark-dev qt6-base-private-dev
FUZZ_PACKAGES := clang libclang-rt-14-dev

.PHONY: all deps configure build run test bench fuzz screenshots clean

all: build

deps:
	@missing=""; for p in $(PACKAGES) $(EXTRA_PACKAGES); do \
	  dpkg-query -W -f='$${Status}' $$p 2>/dev/null | grep -q 'ok installed' || missing="$$missing $$p"; \
	done; \
	if [ -n "$$missing" ]; then \
	  echo "installing:$$missing"; \
	  $(SUDO) apt-get update -qq && \
	  DEBIAN_FRONTEND=noninteractive $(SUDO) apt-get install -y -qq --no-install-recommends $$missing; \
	fi

$(BUILD)/build.ninja:
	cmake -S . -B $(BUILD) -G Ninja

configure: deps $(BUILD)/build.ninja

build: configure
	cmake --build $(BUILD) -j $(JOBS)

run: build
	$(BUILD)/bin/velmora

test: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS) --timeout 300

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

# Templates saved with pelmo live in $(BUILD)/bin/Templates, beside the program: they
# are the user's, not build outputs, so they stay.
clean:
	rm -rf $(BENCH_DIR) $(FUZZ_DIR)
	@if [ -n "$$(ls -A $(BUILD)/bin/Templates 2>/dev/null)" ]; then \
	  find $(BUILD) -mindepth 1 -maxdepth 1 ! -name bin -exec rm -rf {} + && \
	  find $(BUILD)/bin -mindepth 1 -maxdepth 1 ! -name Templates -exec rm -rf {} + && \
	  echo "kept the saved templates in $(BUILD)/bin/Templates"; \
	else rm -rf $(BUILD); fi
