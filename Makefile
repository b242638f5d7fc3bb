# The two commands a developer needs: `make run` and `make test`. Both install whatever Debian
# packages are missing first, then build.

BUILD      ?= build
JOBS       ?= $(shell nproc)
CMAKE_GEN  := -G Ninja
DEMO_DATA  ?= $(CURDIR)/$(BUILD)/demo-data
RUN_ARGS   ?=

.PHONY: run test deps deps-fuzz deps-deb deb deb-check build test-asan test-tsan fuzz bench format clean demo-data

deps:
	@scripts/install-deps

deps-fuzz:
	@scripts/install-deps fuzz

deps-deb:
	@scripts/install-deps deb

$(BUILD)/build.ninja: | deps
	cmake -S . -B $(BUILD) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=RelWithDebInfo

build: deps $(BUILD)/build.ninja
	cmake --build $(BUILD) -j $(JOBS)

demo-data: build
	@scripts/place-demo-data "$(DEMO_DATA)"

run: build demo-data
	$(BUILD)/app/orvandry --simulate --data-dir "$(DEMO_DATA)" --usb-dir "$(DEMO_DATA)/usb" $(RUN_ARGS)

test: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS) --timeout 300

# The Debian package of a panel, orvandry_<version>_<arch>.deb in $(DEB_BUILD): only the two
# programs are built for it. `make deb-check` also lints, installs, runs and removes it (root).
DEB_BUILD ?= build-deb
deb: deps
	cmake -S . -B $(DEB_BUILD) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=RelWithDebInfo
	cmake --build $(DEB_BUILD) -j $(JOBS) --target orvandry orvandry-sim
	cd $(DEB_BUILD) && cpack -G DEB

deb-check: deps-deb
	@DEB_BUILD=$(DEB_BUILD) JOBS=$(JOBS) scripts/check-deb

# Address + undefined-behaviour sanitizer build of the whole suite.
test-asan: deps
	cmake -S . -B build-asan $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Debug -DORVANDRY_SANITIZE=address
	cmake --build build-asan -j $(JOBS)
	cd build-asan && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
	  ctest --output-on-failure -j $(JOBS) --timeout 600

# Thread sanitizer build. Qt's own libraries are not instrumented, so this suite covers the
# threaded code that needs it: the link, the simulator and the stores, built without Qt.
test-tsan: deps
	cmake -S . -B build-tsan $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Debug -DORVANDRY_SANITIZE=thread -DORVANDRY_WITH_QT=OFF
	cmake --build build-tsan -j $(JOBS)
	cd build-tsan && TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1 \
	  ctest --output-on-failure -j $(JOBS) --timeout 600

# Coverage-guided fuzzing of what the display reads (libFuzzer, clang, ASan+UBSan), in its own
# build folder. Each target runs FUZZ_SECONDS from its checked-in seed corpus; a crash fails.
FUZZ_SECONDS ?= 60
fuzz: deps-fuzz
	cmake -S fuzz -B build-fuzz $(CMAKE_GEN) -DCMAKE_CXX_COMPILER=clang++
	cmake --build build-fuzz -j $(JOBS)
	@scripts/run-fuzzers build-fuzz $(FUZZ_SECONDS)

bench: build
	@for b in $(BUILD)/bench/bench_*; do [ -x "$$b" ] && "$$b" || exit 1; done

format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf $(BUILD) build-asan build-tsan build-fuzz
