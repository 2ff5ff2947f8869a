# Two commands set everything up on a fresh Debian 12 machine:
#   make run   installs what is missing, builds and opens the window
#   make test  installs what is missing, builds and runs every test headless

PACKAGES := cmake make g++ pkgconf qt6-base-dev libgl-dev libgtest-dev libgmock-dev \
            libbenchmark-dev nlohmann-json3-dev libcli11-dev fonts-liberation2 \
            xvfb xauth xdotool imagemagick poppler-utils clang-format \
            dpkg-dev file locales time libx11-dev
FUZZ_PACKAGES := clang libclang-rt-14-dev
JOBS := $(shell nproc 2>/dev/null || echo 2)
# make fuzz: seconds per target, and the targets
FUZZ_SECONDS ?= 60
FUZZ_TARGETS ?= catalogue captions station session numbers table

.PHONY: all setup build run test asan fuzz fuzz-build fuzz-replay format format-check bench package clean

all: build

setup:
	@missing=""; \
	for p in $(PACKAGES); do \
	  dpkg-query -W -f='$${Status}' $$p 2>/dev/null | grep -q 'install ok installed' || missing="$$missing $$p"; \
	done; \
	if [ -n "$$missing" ]; then \
	  echo "Installing:$$missing"; \
	  if [ "$$(id -u)" -eq 0 ]; then sudo=""; else sudo="sudo"; fi; \
	  $$sudo apt-get update && \
	  DEBIAN_FRONTEND=noninteractive $$sudo apt-get install -y --no-install-recommends $$missing; \
	fi

build: setup
	cmake --preset dev
	cmake --build --preset dev -j $(JOBS)

run: build
	./build/veldrune

test: build
	ctest --preset dev -j $(JOBS)

asan: setup
	cmake --preset asan
	cmake --build --preset asan -j $(JOBS)
	ctest --preset asan -j $(JOBS)

bench: setup
	cmake --preset release -DVELDRUNE_BUILD_BENCH=ON
	cmake --build --preset release -j $(JOBS)
	./build-release/bench/veldrune-bench
	bench/batch-stations.sh build-release/veldrune-calc
	bench/startup.sh build-release/veldrune build-release/bench/bare_window

# The Debian package of the release build: build-release/veldrune_<version>_<arch>.deb.
package: setup
	cmake --preset release
	cmake --build --preset release -j $(JOBS)
	cd build-release && cpack -G DEB

# The fuzz targets built with clang and libFuzzer, as `make fuzz` runs them.
fuzz-build:
	$(MAKE) setup PACKAGES="$(PACKAGES) $(FUZZ_PACKAGES)"
	cmake --preset fuzz
	cmake --build --preset fuzz -j $(JOBS) --target $(addprefix fuzz_,$(FUZZ_TARGETS))

# Each fuzz target of that build runs its corpus once, without fuzzing: what CI checks.
fuzz-replay: fuzz-build
	set -e; for t in $(FUZZ_TARGETS); do \
	  QT_QPA_PLATFORM=offscreen build-fuzz/fuzz/fuzz_$$t -runs=0 tests/fuzz/corpus/$$t; \
	done

# Fuzzes each target for FUZZ_SECONDS from its corpus in tests/fuzz/corpus, then merges into
# the corpus only the inputs that reach new code. A finding stops with its input in build-fuzz/.
fuzz: fuzz-build
	set -e; for t in $(FUZZ_TARGETS); do \
	  mkdir -p build-fuzz/found/$$t; \
	  QT_QPA_PLATFORM=offscreen build-fuzz/fuzz/fuzz_$$t build-fuzz/found/$$t tests/fuzz/corpus/$$t \
	    -max_total_time=$(FUZZ_SECONDS) -timeout=20 -rss_limit_mb=4096 \
	    -artifact_prefix=build-fuzz/$$t- -print_final_stats=1; \
	  QT_QPA_PLATFORM=offscreen build-fuzz/fuzz/fuzz_$$t -merge=1 tests/fuzz/corpus/$$t build-fuzz/found/$$t; \
	done

format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

format-check:
	git ls-files '*.cpp' '*.h' | xargs clang-format --dry-run --Werror

clean:
	rm -rf build build-asan build-release build-fuzz
