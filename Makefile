# Two commands set everything up on a fresh Debian 12 machine:
#   make run   installs what is missing, builds and opens the window
#   make test  installs what is missing, builds and runs every test headless

PACKAGES := cmake make g++ pkgconf qt6-base-dev libgl-dev libgtest-dev libgmock-dev \
            libbenchmark-dev nlohmann-json3-dev libcli11-dev fonts-liberation2 \
            xvfb xauth xdotool imagemagick poppler-utils clang-format
JOBS := $(shell nproc 2>/dev/null || echo 2)

.PHONY: all setup build run test asan format format-check bench clean

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

format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

format-check:
	git ls-files '*.cpp' '*.h' | xargs clang-format --dry-run --Werror

clean:
	rm -rf build build-asan build-release
