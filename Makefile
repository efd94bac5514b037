# Shortcuts for the two commands of the README (./run.sh and ./test.sh) and
# the benchmarks.
.PHONY: run test bench

run:
	@./run.sh

test:
	@./test.sh

# Benchmarks against a bare-Qt floor on a virtual X server (a few minutes).
bench:
	@scripts/build.sh build lukimo bench_floor bench_lukimo
	@python3 bench/run.py build --results bench/RESULTS.md
