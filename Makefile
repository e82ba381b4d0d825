# The README's commands. Every target installs what it needs first.
JOBS ?= 2
FUZZ_SECONDS ?= 60

# ccache, when present, shares object files between work trees of this repository.
export CCACHE_BASEDIR := $(CURDIR)
export CCACHE_NOHASHDIR := 1

.PHONY: all deps test asan run deb bench fuzz fuzz-seeds format format-check clean

all: test

deps:
	@scripts/install-deps.sh

test: deps
	cmake --preset debug >/dev/null
	cmake --build --preset debug -j $(JOBS)
	ctest --preset debug

asan: deps
	cmake --preset asan >/dev/null
	cmake --build --preset asan -j $(JOBS)
	ctest --preset asan

run: deps
	@if [ -f editor/shell/CMakeLists.txt ]; then \
	  cmake --preset debug >/dev/null && cmake --build --preset debug -j $(JOBS) --target Tessvane && \
	  ./build/debug/editor/shell/Tessvane; \
	else echo "make run: the Tessvane window is not built yet."; fi

# The Debian package build/tessvane_<version>_<arch>.deb; lintian checks it.
deb: deps
	JOBS=$(JOBS) scripts/build-deb.sh
	lintian --fail-on error,warning build/tessvane_*.deb

bench:
	@scripts/install-deps.sh bench
	cmake --preset release >/dev/null
	cmake --build --preset release -j $(JOBS)
	scripts/run-benchmarks.sh build/release

fuzz:
	@scripts/install-deps.sh fuzz
	cmake --preset fuzz >/dev/null
	cmake --build --preset fuzz -j $(JOBS) --target fuzz_all
	scripts/run-fuzzers.sh build/fuzz $(FUZZ_SECONDS)

# Rewrites the committed seed corpora under fuzz/corpus/ from the fixture builders.
fuzz-seeds:
	@scripts/install-deps.sh fuzz
	cmake --preset fuzz >/dev/null
	cmake --build --preset fuzz -j $(JOBS) --target make_fuzz_seeds
	rm -rf fuzz/corpus
	build/fuzz/fuzz/seeds/make_fuzz_seeds fuzz/corpus

# Every C and C++ file of the work tree (tracked or new, not ignored), formatted by the
# one .clang-format at the top.
FORMAT_FILES = $(shell git ls-files --cached --others --exclude-standard '*.cpp' '*.h' '*.c')

format: deps
	@clang-format -i $(FORMAT_FILES)

format-check: deps
	@clang-format --dry-run --Werror $(FORMAT_FILES) && echo "format-check: $(words $(FORMAT_FILES)) files formatted"

clean:
	rm -rf build
