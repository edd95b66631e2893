# Entry points for people and CI. The real build is CMake; this file only sequences it.
#   make test   install what is missing (as root), build both configurations, run every test
#   make demo   run the program under Wine with the rig's virtual COM ports
#   make bench  build and run the benchmarks
JOBS ?= $(shell nproc)
WIN := build/win
NATIVE := build/native
FUZZ := build/fuzz
BENCH := build/bench
RIG := $(WIN)/rig

.PHONY: all deps configure build test demo bench clean stop-rig

all: build

deps:
	@bash scripts/install-deps.sh

$(WIN)/CMakeCache.txt: | deps
	cmake -S . -B $(WIN) -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake

$(NATIVE)/CMakeCache.txt: | deps
	cmake -S . -B $(NATIVE)

$(FUZZ)/CMakeCache.txt: | deps
	CC=clang CXX=clang++ cmake -S . -B $(FUZZ)

$(BENCH)/CMakeCache.txt: | deps
	cmake -S . -B $(BENCH) -DQM27K_SANITIZE=OFF -DCMAKE_BUILD_TYPE=Release

configure: $(WIN)/CMakeCache.txt $(NATIVE)/CMakeCache.txt

build: configure
	cmake --build $(NATIVE) -j $(JOBS)
	cmake --build $(WIN) -j $(JOBS)

test: build $(FUZZ)/CMakeCache.txt
	@bash scripts/run-fuzz.sh $(FUZZ) 20
	@bash scripts/run-tests.sh $(NATIVE) $(WIN)

demo: deps $(WIN)/CMakeCache.txt
	cmake --build $(WIN) -j $(JOBS) --target QM27K qm27k-sim-host DemoDriver
	@bash scripts/demo.sh $(WIN)

bench: build $(BENCH)/CMakeCache.txt
	cmake --build $(BENCH) -j $(JOBS) --target bench
	cmake --build $(WIN) -j $(JOBS) --target bench

stop-rig:
	@[ -d $(RIG) ] && tests/rig/wine-run $(RIG) --stop || true

clean: stop-rig
	rm -rf build
