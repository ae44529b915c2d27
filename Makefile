# The only set-up a new machine needs: "make test" or "make run".
BUILD ?= build
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

run: build
	$(BUILD)/program/tesorio

clean:
	rm -rf $(BUILD)
