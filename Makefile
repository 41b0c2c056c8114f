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
# of a particular size start their own. -noreset keeps the server from
# resetting whenever its last client leaves, which refuses the next to come.
check: build
	cd $(BUILD) && SDL_AUDIODRIVER=dummy xvfb-run -a -s "-screen 0 1024x768x24 -noreset" \
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

# Every test again with AddressSanitizer (leaks included) and UBSan, in a
# build of its own. Leaks inside the system's libraries are suppressed by
# tests/sanitize/lsan.supp, which names only those libraries, never our code.
SANITIZE_BUILD ?= build-sanitize
SANITIZE_FLAGS := -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer
.PHONY: check-sanitize
check-sanitize: deps
	cmake -S . -B $(SANITIZE_BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  "-DCMAKE_C_FLAGS=$(SANITIZE_FLAGS)" "-DCMAKE_CXX_FLAGS=$(SANITIZE_FLAGS)" \
	  "-DCMAKE_EXE_LINKER_FLAGS=$(SANITIZE_FLAGS)" "-DCMAKE_SHARED_LINKER_FLAGS=$(SANITIZE_FLAGS)"
	cmake --build $(SANITIZE_BUILD) -j $(JOBS)
	cc -shared -fPIC -O2 -o $(SANITIZE_BUILD)/keep-loaded.so tests/sanitize/keep_loaded.c
	cd $(SANITIZE_BUILD) && LD_PRELOAD=$(CURDIR)/$(SANITIZE_BUILD)/keep-loaded.so \
	  ASAN_OPTIONS=detect_leaks=1:halt_on_error=1:verify_asan_link_order=0 \
	  LSAN_OPTIONS=suppressions=$(CURDIR)/tests/sanitize/lsan.supp:print_suppressions=0 \
	  UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
	  SDL_AUDIODRIVER=dummy xvfb-run -a -s "-screen 0 1024x768x24 -noreset" \
	  ctest --output-on-failure -j $(JOBS) --timeout 600

# The readers of outside data under libFuzzer, AddressSanitizer and UBSan, in
# a clang build of their own: FUZZ_SECONDS for each, FUZZ_JOBS at a time.
# Findings land in $(FUZZ_BUILD)/fuzz-findings/<reader>/.
FUZZ_BUILD ?= build-fuzz
FUZZ_SECONDS ?= 600
FUZZ_JOBS ?= $(JOBS)
FUZZ_PACKAGES := clang libclang-rt-14-dev
FUZZ_READERS := bitmap mesh highscores savedgame settings replays
.PHONY: fuzz
fuzz: deps
	@for p in $(FUZZ_PACKAGES); do \
	  dpkg-query -W -f='$${Status}\n' "$$p" 2>/dev/null | grep -q 'install ok installed' || \
	  $(SUDO) env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends "$$p"; \
	done
	CC=clang CXX=clang++ cmake -S . -B $(FUZZ_BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVORTIQ_FUZZ=ON
	cmake --build $(FUZZ_BUILD) -j $(JOBS) --target game_data $(addprefix fuzz_,$(FUZZ_READERS))
	TMPDIR=$$([ -w /dev/shm ] && echo /dev/shm || echo /tmp) \
	  tests/fuzz/run-fuzzers.sh $(FUZZ_BUILD) $(FUZZ_SECONDS) $(FUZZ_JOBS) $(FUZZ_READERS)
