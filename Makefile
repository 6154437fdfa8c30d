# A thin wrapper over CMake: `make run` starts the editor, `make test` runs every test.
# Both first install, with apt-get, the Debian packages that are missing.

PACKAGES := cmake ninja-build g++ qt6-base-dev qt6-translations-l10n libgtest-dev \
            fonts-dejavu-core xauth
SUDO := $(shell [ "$$(id -u)" -eq 0 ] || echo sudo)
BUILD := build
SANITIZE_BUILD := build-sanitize

.PHONY: run test deps build build-sanitize clean

run: build
	./$(BUILD)/src/zebrano-editor

test: build build-sanitize
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure
	cd $(SANITIZE_BUILD) && ctest --output-on-failure

deps:
	@missing=$$(for p in $(PACKAGES); do dpkg-query -W -f='$${Status}\n' $$p 2>/dev/null \
	    | grep -q 'install ok installed' || echo $$p; done); \
	if [ -n "$$missing" ]; then \
	    echo "Installing:" $$missing; \
	    $(SUDO) apt-get update && \
	    DEBIAN_FRONTEND=noninteractive $(SUDO) apt-get install -y $$missing; \
	fi

build: deps
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Debug
	cmake --build $(BUILD)

# The core and the window logic under AddressSanitizer and UndefinedBehaviorSanitizer.
build-sanitize: deps
	cmake -S . -B $(SANITIZE_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DZEB_SANITIZE=ON \
	    -DZEB_BUILD_GUI=OFF
	cmake --build $(SANITIZE_BUILD)

clean:
	rm -rf $(BUILD) $(SANITIZE_BUILD)
