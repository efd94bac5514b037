# The benchmarks and the mutation check; the README's two commands are
# ./run.sh and ./test.sh.
.PHONY: bench mutation web windows

# Benchmarks against a bare-Qt floor on a virtual X server (a few minutes).
bench:
	@scripts/install-deps.sh test
	@cmake --preset default >/dev/null
	@cmake --build --preset bench
	@python3 bench/run.py build --results bench/RESULTS.md

# Mutation check: puts small faults into the program one at a time and
# reports how many the fast tests catch (not part of CI; see
# docs/mutation.md). Options go in ARGS, e.g.
#   make mutation ARGS="--sample 200 --seed 1"
#   make mutation ARGS="--since main"
mutation:
	@scripts/install-deps.sh test
	@python3 scripts/mutation.py $(ARGS)

# The Windows program, its portable zip and its installer, cross-built into
# build-windows/ (see the README's Windows section).
windows:
	@scripts/windows-build.sh

# The browser page and its zip, built in a Debian 13 chroot into build-web/
# (see the README's browser section).
web:
	@scripts/web-build.sh
