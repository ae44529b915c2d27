# The only set-up a new machine needs: "make test" or "make run".
BUILD ?= build
RUN ?= run
JOBS ?= $(shell nproc)

.PHONY: all deps build test run clean

all: build

deps:
	./tools/install-deps.sh

build: deps
	cmake -S . -B $(BUILD)
	cmake --build $(BUILD) -j$(JOBS)

test: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j$(JOBS)

# The program runs on a folder of its own, outside the build: its data outlives "make clean".
run: build
	./tools/stage-run.sh $(BUILD)/program $(RUN)
	$(RUN)/tesorio

clean:
	rm -rf $(BUILD)
