# The README's commands. Each installs what is missing first.
BUILD ?= build
JOBS ?= $(shell nproc)
CMAKE_FLAGS ?=
# Seconds each fuzz target runs: bounded in `make test`, longer in `make fuzz`.
FUZZ_SECONDS ?= 30
FUZZ_LONG_SECONDS ?= 600

.PHONY: deps configure build run test test-normal test-asan test-tsan test-fuzz fuzz bench demo package clean

# $(call stage,NAME,COMMAND): runs COMMAND and prints how long it took.
define stage
	@start=$$(date +%s); echo "== $(1)"; $(2); rc=$$?; \
	echo "== $(1): $$(( $$(date +%s) - start )) s, $$([ $$rc -eq 0 ] && echo passed || echo FAILED)"; exit $$rc
endef

deps:
	@bash tools/install-deps.sh

configure: deps
	@cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=Release $(CMAKE_FLAGS) >/dev/null

build: configure
	@cmake --build $(BUILD) -j $(JOBS)

run: build
	@if [ -x $(BUILD)/tarnwick ]; then $(BUILD)/tarnwick; \
	else echo "tarnwick: the window program is not built yet; it will open the Tarnwick window"; fi

NORMAL_SUITE = cd $(BUILD) && ctest --output-on-failure -j $(JOBS) --timeout 900
ASAN_SUITE = bash tools/run-sanitized.sh address
TSAN_SUITE = bash tools/run-sanitized.sh thread

# The normal suite, then every test under ASan + UBSan, the concurrency tests
# under TSan, and each fuzz target for FUZZ_SECONDS.
test: build
	$(call stage,normal suite,$(NORMAL_SUITE))
	$(call stage,ASan+UBSan suite,$(ASAN_SUITE))
	$(call stage,TSan concurrency tests,$(TSAN_SUITE))
	$(call stage,fuzzing $(FUZZ_SECONDS) s a target,bash tools/fuzz.sh $(FUZZ_SECONDS))

# One stage at a time.
test-normal: build
	$(call stage,normal suite,$(NORMAL_SUITE))
test-asan: deps
	$(call stage,ASan+UBSan suite,$(ASAN_SUITE))
test-tsan: deps
	$(call stage,TSan concurrency tests,$(TSAN_SUITE))
test-fuzz: deps
	$(call stage,fuzzing $(FUZZ_SECONDS) s a target,bash tools/fuzz.sh $(FUZZ_SECONDS))
fuzz: deps
	$(call stage,fuzzing $(FUZZ_LONG_SECONDS) s a target,bash tools/fuzz.sh $(FUZZ_LONG_SECONDS))

bench: build
	@bash bench/run.sh $(BUILD)

demo: build
	@bash tools/demo.sh $(BUILD)

package: build
	@cd $(BUILD) && cpack -G DEB

clean:
	rm -rf $(BUILD)
