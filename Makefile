# The two commands a player or a developer needs: `make run` and `make test`.
BUILD ?= build
SAN_BUILD ?= build-san
JOBS ?= 2

.PHONY: all bootstrap build run test test-plain test-web test-windows test-sanitize format format-check clean soak valgrind screenshots maps package

all: build

bootstrap:
	@./scripts/bootstrap.sh

$(BUILD)/CMakeCache.txt: | bootstrap
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo $(if $(CI),-DZANBURY_WERROR=ON)

build: bootstrap $(BUILD)/CMakeCache.txt
	cmake --build $(BUILD) -j $(JOBS)

run: build
	cd data && ../$(BUILD)/zanbury

test: bootstrap format-check test-plain test-sanitize fuzz test-web test-windows

test-plain: build
	ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS) -LE '^(web|windows)$$'

# The browser build played in headless Chromium (tests/web/browser_test.py).
test-web: build web
	cmake -S . -B $(BUILD) -DZANBURY_WEB_BUILD=$(abspath $(WEB_BUILD)) > /dev/null
	ctest --test-dir $(BUILD) --output-on-failure -L web

$(SAN_BUILD)/CMakeCache.txt: | bootstrap
	cmake -S . -B $(SAN_BUILD) -DCMAKE_BUILD_TYPE=Debug -DZANBURY_SANITIZE=ON $(if $(CI),-DZANBURY_WERROR=ON)

test-sanitize: bootstrap $(SAN_BUILD)/CMakeCache.txt
	cmake --build $(SAN_BUILD) -j $(JOBS)
	ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
	  ctest --test-dir $(SAN_BUILD) --output-on-failure -j $(JOBS) -LE nosan

# A million frames of random play under the sanitizers, and the real game under memcheck.
SOAK_FRAMES ?= 1000000
soak: bootstrap $(SAN_BUILD)/CMakeCache.txt
	cmake --build $(SAN_BUILD) -j $(JOBS) --target zanbury-soak
	ASAN_OPTIONS=detect_leaks=1:quarantine_size_mb=0 UBSAN_OPTIONS=halt_on_error=1 \
	  $(SAN_BUILD)/tools/soak/zanbury-soak --dir data --frames $(SOAK_FRAMES) --seed $${SEED:-1}

valgrind: build
	./scripts/valgrind_session.sh $(BUILD)/zanbury data

# The four screens in docs/screens/, remade with the simulator, and the three looks from the real
# game under Xvfb.
screenshots: build
	./tools/screenshots/make_screenshots.sh $(BUILD)/tools/sim/zanbury-sim
	./tools/screenshots/make_looks.sh $(BUILD)/zanbury data

# A map of every shipped park in docs/parks/, with the path of its replay in tests/replays/, and
# the sprite sheet's obstacle pictures, numbered, in docs/obstacle-pictures.png.
maps: build
	mkdir -p docs/parks
	$(BUILD)/tools/parkmap/zanbury-parkmap --sheet docs/obstacle-pictures.png
	for park in $$(tail -n +2 data/parks.txt); do \
	  $(BUILD)/tools/parkmap/zanbury-parkmap --run tests/replays/$$park data/$$park \
	    docs/parks/$${park%.txt}.png || exit 1; \
	done

format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

format-check:
	@git ls-files '*.cpp' '*.h' | xargs -r clang-format --dry-run --Werror

clean:
	rm -rf $(BUILD) $(SAN_BUILD) $(PACKAGE_BUILD) $(WEB_BUILD) $(WINDOWS_BUILD)

# The Debian package, zanbury_VERSION_ARCH.deb, in PACKAGE_OUT: a Release build in its own tree
# with Debian's flags (its -O2, and hardening with bindnow), the /usr prefix and the games layout.
PACKAGE_BUILD ?= build-package
PACKAGE_OUT ?= .
$(PACKAGE_BUILD)/CMakeCache.txt: | bootstrap
	export DEB_BUILD_MAINT_OPTIONS=hardening=+all; \
	CXXFLAGS="$$(dpkg-buildflags --get CXXFLAGS) $$(dpkg-buildflags --get CPPFLAGS)" \
	LDFLAGS="$$(dpkg-buildflags --get LDFLAGS)" \
	cmake -S . -B $(PACKAGE_BUILD) -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_FLAGS_RELEASE=-DNDEBUG \
	  -DCMAKE_INSTALL_PREFIX=/usr \
	  -DZANBURY_GAMES_LAYOUT=ON -DBUILD_TESTING=OFF -DCMAKE_SKIP_INSTALL_ALL_DEPENDENCY=ON \
	  $(if $(CI),-DZANBURY_WERROR=ON)

package: bootstrap $(PACKAGE_BUILD)/CMakeCache.txt
	rm -f $(PACKAGE_BUILD)/zanbury_*.deb
	cmake --build $(PACKAGE_BUILD) -j $(JOBS) --target zanbury-installed
	cd $(PACKAGE_BUILD) && cpack
	rm -f $(PACKAGE_OUT)/zanbury_*.deb
	cp $(PACKAGE_BUILD)/zanbury_*.deb $(PACKAGE_OUT)/

# The browser build, build-web/zanbury.html: emscripten and chromium, a WebAssembly SDL2 built
# from Debian's source package once per machine (kept in WEB_SDL2), and the game with em++.
WEB_BUILD ?= build-web
WEB_SDL2 ?= $(or $(XDG_CACHE_HOME),$(HOME)/.cache)/zanbury/sdl2-web
# Debian's emscripten runs its JavaScript tools with node, which must see Debian's node modules.
WEB_ENV = NODE_PATH=/usr/share/nodejs$(if $(NODE_PATH),:$(NODE_PATH))
.PHONY: web web-libs
web-libs: web
web:
	./scripts/bootstrap.sh web
	JOBS=$(JOBS) ./scripts/web_sdl2.sh $(WEB_SDL2)
	$(WEB_ENV) emcmake cmake -S . -B $(WEB_BUILD) -DCMAKE_BUILD_TYPE=Release \
	  -DZANBURY_WEB_SDL2=$(WEB_SDL2)/install $(if $(CI),-DZANBURY_WERROR=ON)
	$(WEB_ENV) cmake --build $(WEB_BUILD) -j $(JOBS)

# The Windows build's programs run under Wine by the Linux build's tests labelled windows
# (tests/windows/), pointed at that build.
test-windows: build windows-package
	cmake -S . -B $(BUILD) -DZANBURY_WINDOWS_BUILD=$(abspath $(WINDOWS_BUILD)) > /dev/null
	ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS) -L windows

# The Windows build, build-windows/*.exe: MinGW-w64 (the posix thread model) through the project's
# toolchain file, with a static SDL2 for Windows built from Debian's source packages once per
# machine (kept in WINDOWS_SDL2); the game and the park authors' tools, each one .exe.
WINDOWS_BUILD ?= build-windows
WINDOWS_SDL2 ?= $(or $(XDG_CACHE_HOME),$(HOME)/.cache)/zanbury/sdl2-windows
.PHONY: windows
windows:
	./scripts/bootstrap.sh windows
	JOBS=$(JOBS) ./scripts/windows_sdl2.sh $(WINDOWS_SDL2)
	cmake -S . -B $(WINDOWS_BUILD) -DCMAKE_TOOLCHAIN_FILE=$(abspath cmake/mingw-w64-x86_64.cmake) \
	  -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF -DZANBURY_WINDOWS_SDL2=$(WINDOWS_SDL2)/install \
	  $(if $(CI),-DZANBURY_WERROR=ON)
	cmake --build $(WINDOWS_BUILD) -j $(JOBS)

# What a Windows player downloads, zanbury-VERSION-win64.zip and zanbury-VERSION-setup.exe, in
# PACKAGE_OUT when it is given and else in WINDOWS_BUILD (windows/package/).
WINDOWS_PACKAGE_OUT = $(if $(filter command line environment,$(origin PACKAGE_OUT)),$(PACKAGE_OUT),$(WINDOWS_BUILD))
.PHONY: windows-package
windows-package: windows
	cmake -S . -B $(WINDOWS_BUILD) -DZANBURY_PACKAGE_OUT=$(abspath $(WINDOWS_PACKAGE_OUT)) > /dev/null
	cmake --build $(WINDOWS_BUILD) -j $(JOBS) --target zanbury-package

# Performance: the frame benchmark, and the real game measured under Xvfb (docs/performance.md).
BENCH_BUILD ?= build-bench
BENCH_ARGS ?= --benchmark_repetitions=5
MEASURE_SECONDS ?= 20
SIM_FRAMES ?= 100000
.PHONY: bench measure-instructions measure-cpu measure-startup measure-sim measure-web
$(BENCH_BUILD)/CMakeCache.txt: | bootstrap
	cmake -S . -B $(BENCH_BUILD) -DCMAKE_BUILD_TYPE=Release

bench: bootstrap $(BENCH_BUILD)/CMakeCache.txt
	cmake --build $(BENCH_BUILD) -j $(JOBS) --target zanbury-bench
	$(BENCH_BUILD)/tools/bench/zanbury-bench $(BENCH_ARGS)

# The instructions of one timed Playing frame under callgrind, which the machine's load does not move.
measure-instructions: bootstrap $(BENCH_BUILD)/CMakeCache.txt
	cmake --build $(BENCH_BUILD) -j $(JOBS) --target zanbury-bench
	tools/measure/measure_frame_instructions.sh $(BENCH_BUILD)/tools/bench/zanbury-bench

measure-cpu: bootstrap $(BENCH_BUILD)/CMakeCache.txt
	cmake --build $(BENCH_BUILD) -j $(JOBS) --target zanbury
	tools/measure/measure_cpu.sh $(BENCH_BUILD)/zanbury $(MEASURE_SECONDS)

measure-startup: bootstrap $(BENCH_BUILD)/CMakeCache.txt
	cmake --build $(BENCH_BUILD) -j $(JOBS) --target zanbury
	tools/measure/measure_startup.sh $(BENCH_BUILD)/zanbury data

# The browser build's start-up and frame time in headless Chromium.
measure-web: web
	tools/measure/measure_web.py $(WEB_BUILD) $(MEASURE_SECONDS) $(MEASURE_WEB_BEFORE)

measure-sim: bootstrap $(BENCH_BUILD)/CMakeCache.txt
	cmake --build $(BENCH_BUILD) -j $(JOBS) --target zanbury-sim
	tools/measure/measure_sim.sh $(BENCH_BUILD)/tools/sim/zanbury-sim $(SIM_FRAMES)

# Fuzzing the readers of parks.txt, the park files, highscore.txt and the recordings with
# libFuzzer (clang).
# Each target runs FUZZ_SECONDS from the seeds of data/; any finding fails the target and is
# kept under $(FUZZ_BUILD)/findings.
FUZZ_BUILD ?= build-fuzz
FUZZ_SECONDS ?= 60
FUZZ_TARGETS := park_list_fuzzer park_file_fuzzer high_score_fuzzer recording_fuzzer
.PHONY: fuzz
$(FUZZ_BUILD)/CMakeCache.txt: | bootstrap
	cmake -S fuzz -B $(FUZZ_BUILD) -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo

fuzz: bootstrap $(FUZZ_BUILD)/CMakeCache.txt
	cmake --build $(FUZZ_BUILD) -j $(JOBS)
	@set -e; for t in $(FUZZ_TARGETS); do \
	  mkdir -p $(FUZZ_BUILD)/corpus/$$t $(FUZZ_BUILD)/findings/$$t; \
	  echo "fuzz: $$t for $(FUZZ_SECONDS) s"; \
	  $(FUZZ_BUILD)/$$t -max_total_time=$(FUZZ_SECONDS) -print_final_stats=1 \
	    -artifact_prefix=$(FUZZ_BUILD)/findings/$$t/ \
	    $(FUZZ_BUILD)/corpus/$$t $(FUZZ_BUILD)/seeds/$$t; \
	done
