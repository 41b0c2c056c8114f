# Vortiq: `make play` sets everything up and starts the game; `make check`
# sets everything up and runs every test, headless.

BUILD ?= build
JOBS ?= $(shell nproc 2>/dev/null || echo 2)
SUDO := $(shell [ "$$(id -u)" = 0 ] || echo sudo)
PACKAGES := $(shell grep -v '^\s*\#' tools/debian-packages | grep -v '^\s*$$')

.PHONY: deps configure build play check clean

deps:
	@missing=""; \
	for p in $(PACKAGES); do \
	  dpkg-query -W -f='$${Status}\n' "$$p" 2>/dev/null | grep -q 'install ok installed' || missing="$$missing $$p"; \
	done; \
	if [ -n "$$missing" ]; then \
	  echo "Installing Debian packages:$$missing"; \
	  $(SUDO) apt-get update && \
	  $(SUDO) env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends $$missing; \
	fi

configure: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo

build: configure
	cmake --build $(BUILD) -j $(JOBS)

play: build
	@test -x $(BUILD)/game/vortiq || { echo "The game was not built: $(BUILD)/game/vortiq is missing."; exit 1; }
	cd $(BUILD)/game && ./vortiq

# Tests that need a screen get one virtual X server; those that need a screen
# of a particular size start their own.
check: build
	cd $(BUILD) && SDL_AUDIODRIVER=dummy xvfb-run -a -s "-screen 0 1024x768x24" \
	  ctest --output-on-failure -j $(JOBS) --timeout 600

clean:
	rm -rf $(BUILD)

# The Debian package, $(BUILD)/vortiq_<version>_<arch>.deb: installs under
# /usr with its dependencies declared (apt-get install ./vortiq_*.deb).
.PHONY: package
package: build
	cd $(BUILD) && cpack -G DEB

# The benchmark: start-up, frame rate, frame times and memory of the game
# beside a bare window that only clears and swaps, and the rules alone; one
# table, measured on a private X server with Mesa's software renderer.
.PHONY: bench
bench: build
	python3 bench/run.py --build $(BUILD)
