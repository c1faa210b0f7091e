# make run   installs what is missing, builds and starts the program
# make test  installs what is missing, builds and runs every test
# make bench runs the benchmarks; make check-asan runs the tests under the sanitizers
# make install installs into PREFIX (/usr/local), below DESTDIR when it is set
# make package builds the Debian package ravlen_<version>_<arch>.deb here
BUILD      ?= build
ASAN_BUILD ?= build-asan
CMAKE_ARGS ?=
PREFIX     ?= /usr/local

.PHONY: all deps configure build test run bench check-asan install package clean

all: build

deps:
	@tools/install-deps.sh

configure: deps
	@cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DRAVLEN_WERROR=ON $(CMAKE_ARGS) >/dev/null

build: configure
	@cmake --build $(BUILD)

test: build
	@cd $(BUILD) && ctest --output-on-failure -j2

# Starts the window when there is a display; without one, says so and balances the
# start-up door on the command line instead.
run: build
	@if [ -n "$$DISPLAY$$WAYLAND_DISPLAY" ]; then \
	  $(BUILD)/app/ravlen; \
	else \
	  echo "make run: no display (DISPLAY and WAYLAND_DISPLAY are unset); balancing the start-up door with ravlen-balance instead" >&2; \
	  $(BUILD)/tools/ravlen-balance; \
	fi

bench: build
	@tools/install-deps.sh --bench
	@$(BUILD)/bench/door_bench --benchmark_repetitions=9 --benchmark_report_aggregates_only=true
	@$(BUILD)/bench/statics_bench --benchmark_repetitions=3 --benchmark_report_aggregates_only=true
	@if [ -x $(BUILD)/bench/link_bench ]; then $(BUILD)/bench/link_bench --benchmark_repetitions=9 --benchmark_report_aggregates_only=true; fi
	@if [ -x $(BUILD)/bench/window_bench ]; then $(BUILD)/bench/window_bench 2>/dev/null; fi
	@if [ -x $(BUILD)/bench/view_bench ]; then xvfb-run -a -s "-screen 0 1280x1024x24" $(BUILD)/bench/view_bench --benchmark_repetitions=3 --benchmark_report_aggregates_only=true 2>/dev/null; fi
	@tools/count-instructions.sh $(BUILD)/bench/evaluate_count

install: build
	@DESTDIR="$(DESTDIR)" cmake --install $(BUILD) --prefix "$(PREFIX)"

# The package is made from the same build; it installs under /usr whatever PREFIX says.
package: build
	@rm -f $(BUILD)/ravlen_*.deb
	@cd $(BUILD) && cpack -G DEB && for deb in ravlen_*.deb; do mv "$$deb" ..; echo "make package: $$deb"; done

check-asan: deps
	@cmake -S . -B $(ASAN_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DRAVLEN_SANITIZE=ON $(CMAKE_ARGS) >/dev/null
	@cmake --build $(ASAN_BUILD)
	@cd $(ASAN_BUILD) && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 ctest --output-on-failure -j2

clean:
	rm -rf $(BUILD) $(ASAN_BUILD)
