# A thin wrapper over CMake: `make run` starts the editor, `make test` runs every test.
# Both first install, with apt-get, the Debian packages that are missing.

PACKAGES := cmake ninja-build g++ clang libclang-rt-14-dev qt6-base-dev qt6-translations-l10n libgtest-dev \
            libbenchmark-dev desktop-file-utils fonts-dejavu-core xauth libzip-dev \
            libhowardhinnant-date-dev nlohmann-json3-dev libicu-dev libglpk-dev tzdata pkg-config poppler-utils
SUDO := $(shell [ "$$(id -u)" -eq 0 ] || echo sudo)
FUZZ_SECONDS ?= 600
JOBS := $(shell nproc)
CONFIGURE = cmake -S . -G Ninja -Wno-dev

.PHONY: run test deps build build-run build-release build-sanitize build-fuzz fuzz-smoke fuzz \
        bench package clean guide-pictures test-windows build-windows deps-windows

run: build-run
	./build-run/src/zebrano-editor

# Debug with the GUI tests, the core and logic again under the sanitizers, an optimized build of
# the tool, a short run of the fuzz targets, and the core and the tool built for Windows
# and tested under Wine.
test: build build-sanitize build-release fuzz-smoke test-windows
	cd build && QT_QPA_PLATFORM=offscreen ctest --output-on-failure --parallel $(JOBS)
	cd build-sanitize && ctest --output-on-failure --parallel $(JOBS)

# The Windows build's compiler, Wine to run what it builds, and GoogleTest's sources.
WINDOWS_PACKAGES := g++-mingw-w64-x86-64-posix wine64 googletest
deps-windows: PACKAGES := $(WINDOWS_PACKAGES)
deps deps-windows:
	@missing=$$(for p in $(PACKAGES); do dpkg-query -W -f='$${Status}\n' $$p 2>/dev/null \
	    | grep -q 'install ok installed' || echo $$p; done); \
	if [ -n "$$missing" ]; then \
	    echo "Installing:" $$missing; \
	    $(SUDO) apt-get update && \
	    DEBIAN_FRONTEND=noninteractive $(SUDO) apt-get install -y $$missing; \
	fi

# Line tables only (-g1): enough for a test's backtrace, and a third quicker to build.
build: deps
	$(CONFIGURE) -B build -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG=-g1
	cmake --build build

build-run: deps
	$(CONFIGURE) -B build-run -DCMAKE_BUILD_TYPE=RelWithDebInfo
	cmake --build build-run --target zebrano-editor

# The tool optimized: its core at -O2 with the warnings that only optimization finds, and the
# Linux side of the Windows comparison. `make run` and `make package` build the editor so.
build-release: deps
	$(CONFIGURE) -B build-release -DCMAKE_BUILD_TYPE=Release
	cmake --build build-release --target zebrano-tool

# The core and the window logic under AddressSanitizer and UndefinedBehaviorSanitizer; line
# tables only (-g1), enough for the sanitizers' reports and quicker to build.
build-sanitize: deps
	$(CONFIGURE) -B build-sanitize -DCMAKE_BUILD_TYPE=Debug -DZEB_SANITIZE=ON -DZEB_BUILD_GUI=OFF \
	    -DCMAKE_CXX_FLAGS_DEBUG=-g1
	cmake --build build-sanitize

# The toolkit-free libraries, their tests and zebrano-tool for Windows, run under Wine with a
# Wine prefix of the build's own.
export WINEPREFIX := $(CURDIR)/build-windows/wine
export WINEDEBUG := -all
build-windows: deps-windows
	cmake --preset windows-cross -Wno-dev -DZEB_LINUX_TOOL=$(CURDIR)/build-release/src/zebrano-tool
	cmake --build build-windows

# The Windows tests, and the Windows tool against the Linux one of build-release.
# The prefix is made, and its server started, before the tests start side by side.
test-windows: build-windows build-release
	mkdir -p $(WINEPREFIX)
	/usr/lib/wine/wineserver -p30
	/usr/lib/wine/wine64 wineboot --init
	cd build-windows && ctest --output-on-failure --parallel $(JOBS)

build-fuzz: deps
	CXX=clang++ $(CONFIGURE) -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZEB_FUZZ=ON \
	    -DZEB_BUILD_GUI=OFF "-DCMAKE_CXX_FLAGS_RELWITHDEBINFO=-O2 -g1 -DNDEBUG"
	cmake --build build-fuzz --target scenario_reader_fuzz gtfs_import_fuzz csv_import_fuzz \
	    editor_data_fuzz

# New inputs go to build-fuzz/corpus, gtfs_corpus, csv_corpus and editor_data_corpus; the
# committed seeds stay as they are. Each target runs FUZZ_SECONDS, as many at once as there are
# cores.
FUZZ_TARGETS := scenario_reader gtfs_import csv_import editor_data
corpus_scenario_reader := corpus
corpus_gtfs_import := gtfs_corpus
corpus_csv_import := csv_corpus
corpus_editor_data := editor_data_corpus
fuzz-smoke: FUZZ_SECONDS = 10
fuzz-smoke fuzz: build-fuzz
	$(MAKE) --no-print-directory -j$(JOBS) -Otarget FUZZ_SECONDS=$(FUZZ_SECONDS) \
	    $(addprefix fuzz-run-,$(FUZZ_TARGETS))

fuzz-run-%:
	mkdir -p build-fuzz/$(corpus_$*)
	./build-fuzz/tests/$*_fuzz -max_total_time=$(FUZZ_SECONDS) -timeout=10 -rss_limit_mb=4096 \
	    -print_final_stats=1 -artifact_prefix=build-fuzz/ build-fuzz/$(corpus_$*) \
	    tests/fuzz/$(corpus_$*)

# The guide's pictures, made again by the window tests from the program as it is now: every
# picture of docs/ that a test makes is replaced.
guide-pictures: build
	rm -rf build/pictures && mkdir -p build/pictures
	cd build && ZEB_SCREENSHOT_DIR=$(CURDIR)/build/pictures QT_QPA_PLATFORM=offscreen \
	    ctest --parallel $(JOBS) -L gui --output-on-failure
	pdftoppm -png -r 90 -singlefile build/pictures/manifesti.pdf build/pictures/manifesti
	for picture in build/pictures/*.png; do \
	    if [ -f docs/$$(basename $$picture) ]; then cp $$picture docs/; fi; done

bench: deps
	$(CONFIGURE) -B build-bench -DCMAKE_BUILD_TYPE=Release -DZEB_BENCH=ON
	cmake --build build-bench --target zebrano-bench
	QT_QPA_PLATFORM=offscreen ./build-bench/bench/zebrano-bench

package: build-release
	cmake --build build-release
	cd build-release && cpack -G DEB

clean:
	rm -rf build build-run build-release build-sanitize build-fuzz build-bench build-windows
