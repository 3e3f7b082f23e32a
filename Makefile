# Front door of the build.  `make` builds into build/, `make run` runs the bundled example (report, plot data and HTML page),
# `make test` builds and runs every test.  The CMake build lives in build/ (and build-sanitize/).
BUILD       ?= build
SANBUILD    ?= build-sanitize
JOBS        ?= $(shell nproc 2>/dev/null || echo 2)
EXAMPLE     ?= english-pipe
CMAKE_FLAGS ?=
# `make fuzz`: every fuzz target in turn for FUZZ_SECONDS, one process at a time, from its seed corpus in
# fuzz/corpus/<target>; new corpus entries and crash files go under build-fuzz/, not the repository.
FUZZBUILD    ?= build-fuzz
FUZZ_SECONDS ?= 60
FUZZ_TARGETS ?= fuzz_list_reader fuzz_input_reader fuzz_cpt_reader fuzz_control_file fuzz_run
FUZZCOVBUILD ?= build-fuzz-cov

.PHONY: all configure run test test-sanitize bench fuzz fuzz-build fuzz-coverage clean

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

fuzz-build:
	@test -f $(FUZZBUILD)/CMakeCache.txt || cmake -S . -B $(FUZZBUILD) -DCMAKE_CXX_COMPILER=clang++ \
	  -DPILEAXIAL_FUZZ=ON -DPILEAXIAL_TESTS=OFF -DPILEAXIAL_BENCH=OFF
	cmake --build $(FUZZBUILD) -j $(JOBS)

# A crash is kept as $(FUZZBUILD)/artifacts/<target>-crash-...; replay it with `$(FUZZBUILD)/<target> FILE`.
fuzz: fuzz-build
	@set -e; for t in $(FUZZ_TARGETS); do \
	  mkdir -p $(FUZZBUILD)/corpus/$$t $(FUZZBUILD)/artifacts; \
	  echo "== $$t, $(FUZZ_SECONDS) s"; \
	  $(FUZZBUILD)/$$t -max_total_time=$(FUZZ_SECONDS) -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
	    -dict=fuzz/input.dict -artifact_prefix=$(FUZZBUILD)/artifacts/$$t- \
	    $(FUZZBUILD)/corpus/$$t fuzz/corpus/$$t 2>$(FUZZBUILD)/$$t.log || { tail -n 60 $(FUZZBUILD)/$$t.log; exit 1; }; \
	  grep -E '^stat::number_of_executed_units|^Done' $(FUZZBUILD)/$$t.log || true; \
	done

# Source-based coverage of the engine reached by the corpora (the seeds and what `make fuzz` added):
# the targets built with coverage instead of the sanitizers in $(FUZZCOVBUILD)/, each corpus replayed once.
fuzz-coverage:
	@test -f $(FUZZCOVBUILD)/CMakeCache.txt || cmake -S . -B $(FUZZCOVBUILD) -DCMAKE_CXX_COMPILER=clang++ \
	  -DPILEAXIAL_FUZZ=ON -DPILEAXIAL_FUZZ_COVERAGE=ON -DPILEAXIAL_TESTS=OFF -DPILEAXIAL_BENCH=OFF
	cmake --build $(FUZZCOVBUILD) -j $(JOBS)
	@rm -rf $(FUZZCOVBUILD)/profiles && mkdir -p $(FUZZCOVBUILD)/profiles
	@set -e; for t in $(FUZZ_TARGETS); do mkdir -p $(FUZZBUILD)/corpus/$$t; \
	  LLVM_PROFILE_FILE=$(FUZZCOVBUILD)/profiles/$$t.profraw $(FUZZCOVBUILD)/$$t -runs=0 \
	    $(FUZZBUILD)/corpus/$$t fuzz/corpus/$$t >/dev/null 2>&1; done
	llvm-profdata merge -sparse $(FUZZCOVBUILD)/profiles/*.profraw -o $(FUZZCOVBUILD)/fuzz.profdata
	llvm-cov report -instr-profile=$(FUZZCOVBUILD)/fuzz.profdata $(FUZZCOVBUILD)/fuzz_run \
	  $(foreach t,$(filter-out fuzz_run,$(FUZZ_TARGETS)),-object $(FUZZCOVBUILD)/$(t)) \
	  -ignore-filename-regex='(^/usr/|/fuzz/)'

clean:
	rm -rf $(BUILD) $(SANBUILD) $(FUZZBUILD) $(FUZZCOVBUILD)
