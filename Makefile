# Front door of the build.  `make` builds into build/, `make run` runs the bundled example (report, plot data and HTML page),
# `make test` builds and runs every test.  The CMake build lives in build/ (and build-sanitize/).
BUILD       ?= build
SANBUILD    ?= build-sanitize
JOBS        ?= $(shell nproc 2>/dev/null || echo 2)
EXAMPLE     ?= english-pipe
CMAKE_FLAGS ?=

.PHONY: all configure run test test-sanitize bench clean

all: configure
	cmake --build $(BUILD) -j $(JOBS)

configure:
	@test -f $(BUILD)/CMakeCache.txt || cmake -S . -B $(BUILD) $(CMAKE_FLAGS)

# Only the library and the host program: a first run does not wait for the tests to compile.
run: configure
	cmake --build $(BUILD) -j $(JOBS) --target pileaxial pileaxial_host
	@rm -rf $(BUILD)/run/$(EXAMPLE) && mkdir -p $(BUILD)/run && cp -r examples/$(EXAMPLE) $(BUILD)/run/
	@cd $(BUILD)/run/$(EXAMPLE) && PILEAXIAL_HTML=$(EXAMPLE).html ../../pileaxial; status=$$?; \
	  echo ""; echo "Run status: $$status"; \
	  echo "Report:          $(CURDIR)/$(BUILD)/run/$(EXAMPLE)/$$(sed -n 6p names.dat | sed 's/ *$$//')"; \
	  echo "Plot-data file:  $(CURDIR)/$(BUILD)/run/$(EXAMPLE)/$$(sed -n 7p names.dat | sed 's/ *$$//')"; \
	  echo "HTML page:       $(CURDIR)/$(BUILD)/run/$(EXAMPLE)/$(EXAMPLE).html"; \
	  exit $$status

test: all
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

test-sanitize:
	@test -f $(SANBUILD)/CMakeCache.txt || cmake -S . -B $(SANBUILD) -DPILEAXIAL_SANITIZE=ON -DPILEAXIAL_BENCH=OFF -DCMAKE_BUILD_TYPE=Debug
	cmake --build $(SANBUILD) -j $(JOBS)
	cd $(SANBUILD) && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 ctest --output-on-failure -j $(JOBS)

bench: all
	$(BUILD)/pileaxial_bench

clean:
	rm -rf $(BUILD) $(SANBUILD)
