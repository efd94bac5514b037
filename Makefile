# Two commands for a fresh Debian or Ubuntu machine:
#   make run    installs what is missing, builds, and starts Lukimo
#   make test   installs what is missing, builds, and runs every test
BUILD ?= build

.PHONY: run test deps build bench

deps:
	@scripts/install-deps.sh

build: deps
	@cmake -S . -B $(BUILD) -G Ninja >/dev/null
	@cmake --build $(BUILD)

run: build
	@scripts/run.sh $(BUILD)

test: build
	@scripts/test.sh $(BUILD)

# Benchmarks against a bare-Qt floor on a virtual X server (a few minutes).
bench: build
	@python3 bench/run.py $(BUILD)
