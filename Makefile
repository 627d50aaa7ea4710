# Ulvan's two commands: `make test` and `make run`. Everything else is a step of those, or one of
# the longer checks (`make test-sanitize`, `make fuzz`) and the distribution steps
# (`make install`, `make package`).
JOBS ?= $(shell nproc 2>/dev/null || echo 2)
BUILD ?= build
ASAN_BUILD ?= build-asan
SAMPLE ?= examples/hello.pas
FUZZ_SECONDS ?= 60
PREFIX ?= /usr/local

.PHONY: all deps configure build test test-sanitize fuzz install package run clean

all: build

deps:
	@scripts/install-deps

configure: deps
	@cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null

build: configure
	@cmake --build $(BUILD) -j $(JOBS)

test: build
	@ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS)

# The library and its tests once more under AddressSanitizer + UndefinedBehaviorSanitizer.
test-sanitize: deps
	@cmake -S . -B $(ASAN_BUILD) -DCMAKE_BUILD_TYPE=Debug -DULVAN_SANITIZE=ON -DULVAN_GUI=OFF >/dev/null
	@cmake --build $(ASAN_BUILD) -j $(JOBS)
	@ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
	  ctest --test-dir $(ASAN_BUILD) --output-on-failure -j $(JOBS) -LE slow

# The clang fuzz targets (built into $(BUILD)/fuzz), each run for FUZZ_SECONDS after replaying
# its committed corpus.
fuzz: deps
	@FUZZ_SECONDS=$(FUZZ_SECONDS) FUZZ_BUILD=$(BUILD)/fuzz FUZZ_JOBS=$(JOBS) tests/fuzz/run-fuzzers

# Installs under PREFIX; DESTDIR, when given, is put before every installed path. The umask keeps
# the folders that cmake --install creates open to every user.
install: build
	@umask 022 && DESTDIR="$(DESTDIR)" cmake --install $(BUILD) --prefix "$(PREFIX)"

# The Debian package in $(BUILD), then its check: unpacked into a scratch folder, it must hold a
# working ulvan-run, the desktop entry, the icons, the man page and the examples.
package: build
	@rm -f $(BUILD)/ulvan_*.deb
	@cd $(BUILD) && cpack -G DEB >cpack.log || { cat cpack.log; exit 1; }
	@tests/install/check-install --deb $(BUILD)/ulvan_*.deb

run: build
	@scripts/run-sample $(BUILD) $(SAMPLE)

clean:
	rm -rf $(BUILD) $(ASAN_BUILD)
