#!/usr/bin/env bash
# Fuzzes every reader of outside input (fuzz/): the catalogue, the click's
# wave file, the help page, the past-data field and the reader of added
# draws, built with clang's
# libFuzzer under AddressSanitizer and UndefinedBehaviorSanitizer into
# build-fuzz/ (installing what that needs).
#   scripts/fuzz.sh [SECONDS [TARGET...]]
#                               fuzzes each target (or those named) for
#                               SECONDS (default 600), two at a time, growing
#                               build-fuzz/corpus/; prints executions, coverage
#                               of each reader's functions and findings (in
#                               build-fuzz/findings/)
#   scripts/fuzz.sh --ci        what CI runs: each target's corpus as a
#                               regression, then a short fuzz with a fixed seed
# Exits non-zero on any finding.
set -euo pipefail
cd "$(dirname "$0")/.."
mode=${1:-600}
# Absolute: the help target works in a directory of its own.
build=$PWD/build-fuzz
source=$PWD
targets=(fuzz_catalogue fuzz_wave fuzz_help fuzz_pastdata fuzz_reader)
[ $# -le 1 ] || targets=("${@:2}")

scripts/install-deps.sh fuzz
export ASAN_SYMBOLIZER_PATH=/usr/lib/llvm-14/bin/llvm-symbolizer
# Qt is built without frame pointers: the stack of an allocation it makes,
# walked by frame pointer, runs on into stale stack contents, a new stack
# almost every time. Each was kept for the rest of the run, which grew by
# hundreds of megabytes, every allocation slower; the caller alone is kept
# now (replay a finding with malloc_context_size=30 for the whole stack).
export ASAN_OPTIONS=detect_leaks=0:abort_on_error=0:malloc_context_size=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
# The help target writes its page for every input: on a disk, closing a file
# rewritten from empty starts writing it out and, with the disk busy, waits.
[ ! -w /dev/shm ] || export TMPDIR=/dev/shm
sanitize="-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer"
nice cmake -S . -B $build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_CXX_FLAGS="$sanitize" \
    -DBUILD_TESTING=OFF -DLUKIMO_BENCHMARKS=OFF -DLUKIMO_FUZZ=ON >/dev/null
nice cmake --build $build --target fuzz -j 2

# What each target reads at most, and the functions of the reader it exists
# for. The help target reads every page (about a millisecond for 2 kB under
# the sanitizers) but lays out one in 1024 (tens of milliseconds), all of
# them for the corpus regression. A kilobyte of the past-data field is some
# hundred operations, enough to fill the store and empty it again; 4 kB of
# draws is some hundred lines, in every format and encoding at once. An input
# that never returns is a finding after a minute on the clock; the help
# target itself counts its page's processor time, which, unlike the clock,
# does not stretch with what else the machine runs (at nice 10 beside a
# build, a second of it took ten on the clock).
declare -A max_len=([fuzz_catalogue]=16384 [fuzz_wave]=8192 [fuzz_help]=2048 [fuzz_pastdata]=1024
    [fuzz_reader]=4096)
declare -A reader=([fuzz_catalogue]=common/catalogue.cpp [fuzz_wave]=common/wavefile.cpp
    [fuzz_help]=help/helpwindow.cpp [fuzz_pastdata]='pastdata/(pastsearch|boughtstore).cpp'
    [fuzz_reader]='(common/textdecode|pastdata/draw(reader|preview|store)).cpp')
options() {
    local t=$1
    echo -max_len=${max_len[$t]} -timeout=60 -report_slow_units=60 -rss_limit_mb=2048 -print_final_stats=1 \
        $([ -f fuzz/$t.dict ] && echo -dict=$source/fuzz/$t.dict)
}
# The seeds: the real files of the run directory (the compiled catalogue,
# the click, the help page and its picture) for every target, and the
# inputs found so far.
corpora() {
    echo $build/run
    [ ! -d $source/fuzz/corpus/$1 ] || echo $source/fuzz/corpus/$1
}

if [ "$mode" = --ci ]; then
    # Fixed seeds and run counts, and a scratch corpus emptied each time, so
    # that the same sources always run the same inputs: a new finding shows
    # in the longer run, never as a red unrelated change. The search also
    # learns from the values compared, addresses and Qt's hashes among them,
    # so the addresses are fixed (no randomization, and an environment of
    # the same size, which the stack starts with), and so is the hash seed.
    # The corpus is not read again while it runs: when that happens depends
    # on the clock, and it moves what is allocated after it.
    fixed=(env -i PATH="$PATH" TMPDIR="${TMPDIR:-/tmp}" QT_HASH_SEED=0 ASAN_OPTIONS="$ASAN_OPTIONS"
        UBSAN_OPTIONS="$UBSAN_OPTIONS" ASAN_SYMBOLIZER_PATH="$ASAN_SYMBOLIZER_PATH"
        setarch "$(uname -m)" -R env)
    declare -A runs=([fuzz_catalogue]=100000 [fuzz_wave]=100000 [fuzz_help]=20000 [fuzz_pastdata]=50000
        [fuzz_reader]=50000)
    for t in "${targets[@]}"; do
        echo "== $t: the corpus, then ${runs[$t]} runs"
        rm -rf $build/ci/$t && mkdir -p $build/ci/$t
        { "${fixed[@]}" FUZZ_HELP_LAYOUT=all $build/fuzz/$t $(options $t) -runs=0 $(corpora $t) &&
            "${fixed[@]}" $build/fuzz/$t $(options $t) -seed=1 -reload=0 -runs=${runs[$t]} \
                -artifact_prefix=$build/ci/$t/ $build/ci/$t $(corpora $t); } 2>$build/ci/$t.log ||
            { tail -50 $build/ci/$t.log; exit 1; }
        grep -h 'stat::number_of_executed_units' $build/ci/$t.log | tail -1
    done
    exit 0
fi

seconds=$mode
mkdir -p $build/findings $build/logs
status=0
run() {
    local t=$1
    mkdir -p $build/corpus/$t $build/findings/$t
    nice $build/fuzz/$t $(options $t) -max_total_time=$seconds \
        -artifact_prefix=$build/findings/$t/ $build/corpus/$t $(corpora $t) \
        >$build/logs/$t.log 2>&1
}
# Two at a time, on a machine of two cores.
pids=()
for t in "${targets[@]}"; do
    run $t &
    pids+=($!)
    if [ ${#pids[@]} -eq 2 ]; then
        for p in "${pids[@]}"; do wait $p || status=1; done
        pids=()
    fi
done
for p in "${pids[@]}"; do wait $p || status=1; done

printf '%-15s %14s %11s %10s %9s\n' target executions functions edges findings
for t in "${targets[@]}"; do
    executions=$(grep -h 'stat::number_of_executed_units' $build/logs/$t.log | awk '{print $2}' | tail -1)
    # Coverage of the reader's own functions, over the whole corpus.
    $build/fuzz/$t $(options $t) -runs=0 -print_coverage=1 $build/corpus/$t $(corpora $t) \
        >$build/logs/$t.coverage 2>&1 || status=1
    read -r covered total edges all < <(grep -E "_FUNC: .* [^ ]*${reader[$t]}:" $build/logs/$t.coverage |
        awk '{split($5, e, "/"); f++; if ($1 == "COVERED_FUNC:") c++; d += e[1]; a += e[2]}
             END {print c + 0, f + 0, d + 0, a + 0}')
    findings=$(find $build/findings/$t -type f | wc -l)
    [ "$findings" -eq 0 ] || status=1
    printf '%-15s %14s %11s %10s %9s\n' $t "${executions:-?}" "$covered/$total" "$edges/$all" $findings
done
exit $status
