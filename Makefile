# The README's commands. Each installs what is missing first.
BUILD ?= build
JOBS ?= $(shell nproc)
CMAKE_FLAGS ?=

.PHONY: deps configure build run test bench demo package clean

deps:
	@bash tools/install-deps.sh

configure: deps
	@cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=Release $(CMAKE_FLAGS) >/dev/null

build: configure
	@cmake --build $(BUILD) -j $(JOBS)

run: build
	@if [ -x $(BUILD)/tarnwick ]; then $(BUILD)/tarnwick; \
	else echo "tarnwick: the window program is not built yet; it will open the Tarnwick window"; fi

test: build
	@cd $(BUILD) && ctest --output-on-failure -j $(JOBS) --timeout 900

bench: build
	@bash bench/run.sh $(BUILD)

demo: build
	@bash tools/demo.sh $(BUILD)

package: build
	@cd $(BUILD) && cpack -G DEB

clean:
	rm -rf $(BUILD)
