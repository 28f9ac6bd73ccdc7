# The two set-up commands: `make run` and `make test`. Both install what they need first.
BUILD ?= build
JOBS ?= $(shell nproc)
GENERATOR := $(shell command -v ninja >/dev/null 2>&1 && echo Ninja || echo "Unix Makefiles")

.PHONY: all deps configure build run guide test test-asan test-tsan fuzz bench deb deb-check screenshot clean format
SECONDS ?= 60
SEED ?= 1
SANITIZER_ENV := ASAN_OPTIONS=detect_leaks=0:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1

all: build

deps:
	scripts/install-deps

$(BUILD)/CMakeCache.txt:
	cmake -S . -B $(BUILD) -G "$(GENERATOR)" -DCMAKE_BUILD_TYPE=RelWithDebInfo

configure: deps $(BUILD)/CMakeCache.txt

build: configure
	cmake --build $(BUILD) -j $(JOBS)

run: build
	$(BUILD)/vellumo examples/sample/

# Vellumo's own guide, a help project in docs/guide/.
guide: build
	$(BUILD)/vellumo docs/guide/

test: build
	ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS)

# The whole suite under AddressSanitizer and UndefinedBehaviorSanitizer.
test-asan: deps
	cmake -S . -B build-asan -G "$(GENERATOR)" -DCMAKE_BUILD_TYPE=Debug -DVELLUMO_SANITIZE=ON
	cmake --build build-asan -j $(JOBS)
	$(SANITIZER_ENV) ctest --test-dir build-asan --output-on-failure -j $(JOBS)

# The tests of the search, whose pages are read on several threads, under ThreadSanitizer.
TSAN_TESTS := ThreadedSearch|PhraseFinder|TextSearch|SearchMatch|HostilePages
test-tsan: deps
	cmake -S . -B build-tsan -G "$(GENERATOR)" -DCMAKE_BUILD_TYPE=Debug -DVELLUMO_TSAN=ON
	cmake --build build-tsan -j $(JOBS) --target vellumo_tests
	TSAN_OPTIONS="halt_on_error=1 suppressions=$(CURDIR)/tests/tsan.supp" \
	  ctest --test-dir build-tsan --output-on-failure -j $(JOBS) -R '$(TSAN_TESTS)'

# Each libFuzzer target for SECONDS seconds, starting from its seed corpus, its mutations
# following SEED (the same seed repeats the same inputs; another explores further).
fuzz: deps
	cmake -S . -B build-fuzz -G "$(GENERATOR)" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DCMAKE_CXX_COMPILER=clang++ -DVELLUMO_FUZZ=ON -DVELLUMO_TESTS=OFF
	cmake --build build-fuzz -j $(JOBS)
	scripts/run-fuzzers build-fuzz $(SECONDS) $(SEED)

# Benchmarks (not tests): timings printed, nothing asserted. CORPUS=DIR PHRASE="..." times the
# search on one help folder instead of the set.
bench: deps
	cmake -S . -B build-bench -G "$(GENERATOR)" -DCMAKE_BUILD_TYPE=Release -DVELLUMO_BENCH=ON -DVELLUMO_TESTS=OFF
	cmake --build build-bench -j $(JOBS)
	CORPUS="$(CORPUS)" PHRASE="$(PHRASE)" bench/run build-bench

# The Debian package dist/vellumo_VERSION_ARCH.deb: built with Debian's own compiler flags (all
# hardening on) in its own folder for /usr, then packed by CPack.
DEB_BUILD ?= build-deb
deb: export DEB_BUILD_MAINT_OPTIONS = hardening=+all
deb: deps
	cmake -S . -B $(DEB_BUILD) -G "$(GENERATOR)" -DCMAKE_BUILD_TYPE=None \
	  -DCMAKE_CXX_FLAGS="$$(dpkg-buildflags --get CPPFLAGS) $$(dpkg-buildflags --get CXXFLAGS)" \
	  -DCMAKE_EXE_LINKER_FLAGS="$$(dpkg-buildflags --get LDFLAGS)" \
	  -DCMAKE_INSTALL_PREFIX=/usr -DVELLUMO_TESTS=OFF
	cmake --build $(DEB_BUILD) -j $(JOBS)
	rm -f $(DEB_BUILD)/vellumo_*.deb
	cd $(DEB_BUILD) && cpack -G DEB
	mkdir -p dist
	rm -f dist/vellumo_*.deb
	cp $(DEB_BUILD)/vellumo_*.deb dist/

# The package's fields, file list, stripped programs and lintian (no errors).
deb-check: deb
	packaging/check-deb dist/vellumo_*.deb

# The metainfo's screenshot, packaging/screenshot.png: the end-to-end test's capture of the main
# window on the sample, copied over it by the test itself.
screenshot: build
	UPDATE_SCREENSHOT=1 ctest --test-dir $(BUILD) --output-on-failure -R '^e2e\.test_startup$$'

clean:
	rm -rf $(BUILD) build-asan build-tsan build-fuzz build-bench $(DEB_BUILD) dist

format:
	clang-format -i $$(git ls-files 'src/*.cpp' 'src/*.h' 'tests/*.cpp' 'tests/*.h' 'fuzz/*.cpp' 'bench/*.cpp')
