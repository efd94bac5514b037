# Shortcuts for the two commands of the README (./run.sh and ./test.sh), the
# benchmarks and the mutation check.
.PHONY: run test bench mutation windows

run:
	@./run.sh

test:
	@./test.sh

# Benchmarks against a bare-Qt floor on a virtual X server (a few minutes).
bench:
	@scripts/build.sh build lukimo bench_floor bench_lukimo
	@python3 bench/run.py build --results bench/RESULTS.md

# Mutation check: puts small faults into the program one at a time and
# reports how many the fast tests catch (not part of CI; see
# docs/mutation.md). Options go in ARGS, e.g.
#   make mutation ARGS="--sample 200 --seed 1"
#   make mutation ARGS="--since main"
mutation:
	@scripts/install-deps.sh
	@python3 scripts/mutation.py $(ARGS)

# The Windows program, its portable zip and its installer, cross-built into
# build-windows/ (see the README's Windows section).
windows:
	@scripts/windows-build.sh
