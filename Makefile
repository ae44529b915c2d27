# The only set-up a new machine needs: "make test" or "make run".
BUILD ?= build
RUN ?= run
JOBS ?= $(shell nproc)

.PHONY: all deps build test run clean fuzz fuzzers

all: build

deps:
	./tools/install-deps.sh

# The packages are checked again, and the build configured, only when the build folder is
# new or the package list changed; from then on the build runs cmake again by itself when a
# CMakeLists.txt changes.
$(BUILD)/.paquetes: tools/install-deps.sh
	./tools/install-deps.sh
	mkdir -p $(BUILD)
	touch $@

$(BUILD)/Makefile: $(BUILD)/.paquetes
	cmake -S . -B $(BUILD)

build: $(BUILD)/Makefile
	cmake --build $(BUILD) -j$(JOBS)

test: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j$(JOBS)

# The program runs on a folder of its own, outside the build: its data outlives "make clean".
# Only the program folder is built for it, not the tests.
run: $(BUILD)/Makefile
	cmake --build $(BUILD) -j$(JOBS) --target programa
	./tools/stage-run.sh $(BUILD)/program $(RUN)
	$(RUN)/tesorio

clean:
	rm -rf $(BUILD)

# The fuzz harnesses (tests/fuzz): built with clang, libFuzzer and the sanitizers in a tree
# of their own, then each run on FUZZ_RUNS inputs from its seeds.
FUZZ_BUILD ?= build-fuzz
FUZZ_RUNS ?= 1000000

fuzz:
	./tools/install-deps.sh fuzz
	$(MAKE) fuzzers
	for h in importes profile; do \
	    mkdir -p $(FUZZ_BUILD)/corpus/$$h && \
	    $(FUZZ_BUILD)/tests/fuzz/fuzz_$$h -runs=$(FUZZ_RUNS) $(FUZZ_BUILD)/corpus/$$h tests/fuzz/semillas/$$h \
	    || exit 1; \
	done

# The harnesses built, not run (CI does this when clang is installed).
fuzzers:
	CC=clang CXX=clang++ cmake -S . -B $(FUZZ_BUILD) -DTESORIO_FUZZ=ON -DBUILD_TESTING=OFF
	cmake --build $(FUZZ_BUILD) -j$(JOBS) --target fuzzers
