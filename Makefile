# Orvanix: `make run` builds and starts the program, `make test` runs every test.
BUILD      ?= build
CHECKBUILD ?= build-check
BENCHBUILD ?= build-bench
FUZZBUILD  ?= build-fuzz
CLANGBUILD ?= build-clang
# Seconds of fuzzing for each target of `make fuzz`; `make check` runs a
# short round of each.
FUZZTIME      ?= 300
FUZZCHECKTIME ?= 20
# Where `make fuzz` keeps the inputs it finds, inside $(FUZZBUILD).
FUZZCORPUS    ?= corpus
JOBS       ?= $(shell nproc)

.PHONY: all deps build run test check clang-check bench fuzz fuzz-build fuzz-run clean

all: build

deps:
	@scripts/install-deps

$(BUILD)/build.ninja: | deps
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo

build: deps $(BUILD)/build.ninja
	cmake --build $(BUILD) -j $(JOBS)

run: build
	@if [ ! -x $(BUILD)/app/orvanix ]; then \
	  echo "$(BUILD)/app/orvanix was not built: it needs the Qt Widgets back end (ORVANIX_QT_WIDGETS=ON)."; exit 1; \
	elif [ -z "$$DISPLAY" ] && [ -z "$$WAYLAND_DISPLAY" ]; then \
	  echo "No display found. On a machine without one, run: xvfb-run make run"; exit 1; \
	else \
	  $(BUILD)/app/orvanix; \
	fi

test: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

# The same tests built with AddressSanitizer and UndefinedBehaviorSanitizer.
check: deps
	cmake -S . -B $(CHECKBUILD) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DORVANIX_SANITIZE=ON
	cmake --build $(CHECKBUILD) -j $(JOBS)
	cd $(CHECKBUILD) && QT_QPA_PLATFORM=offscreen \
	  ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 \
	  LSAN_OPTIONS=suppressions=$(CURDIR)/scripts/lsan.supp:print_suppressions=0 \
	  UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
	  ctest --output-on-failure -j $(JOBS)
	$(MAKE) fuzz-build
	rm -rf $(FUZZBUILD)/check-corpus
	$(MAKE) fuzz-run FUZZTIME=$(FUZZCHECKTIME) FUZZCORPUS=check-corpus

# The band and similarity tests built with clang as well: the bands and the
# searches must give the same bits at every vector width with either
# compiler, and clang fuses multiply-adds where GCC does not.
CLANGTESTS := test_broadening test_similarity_kernels test_similarity_widths
clang-check: deps
	CC=clang CXX=clang++ cmake -S . -B $(CLANGBUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DORVANIX_QT_WIDGETS=OFF
	cmake --build $(CLANGBUILD) -j $(JOBS) --target $(CLANGTESTS)
	cd $(CLANGBUILD) && for t in $(CLANGTESTS); do QT_QPA_PLATFORM=offscreen tests/$$t || exit 1; done

bench: deps
	cmake -S . -B $(BENCHBUILD) -G Ninja -DCMAKE_BUILD_TYPE=Release -DORVANIX_BENCH=ON
	cmake --build $(BENCHBUILD) -j $(JOBS)
	@echo "Benchmarks are in $(BENCHBUILD)/bench/; run one, e.g. $(BENCHBUILD)/bench/broadening"

# The fuzz targets, one per family of files the program reads (outputs of
# quantum-chemistry programs, bil files, measured spectra, chromatograms and
# the settings file) opened through a session, and three that call the
# parsers directly at thousands of inputs a second (the readers' store-free
# parse, the energy readers, the bil and measured-data readers). They are
# built with clang, AddressSanitizer and UndefinedBehaviorSanitizer in their
# own build folder and run one after the other, each for FUZZTIME seconds,
# on the small fixtures and, where it is present, the shared corpus of real
# outputs as seeds (a missing seed folder is left out). New inputs they find
# stay in $(FUZZBUILD)/$(FUZZCORPUS)/<target>; the short round of `make
# check` starts from the seeds alone.
SHAREDCORPUS ?= ../shared/corpus
FUZZTARGETS := readers bil measured chromatogram settings parse energies formats
seeds_readers      := tests/fixtures/readers
seeds_bil          := tests/fixtures/bil
seeds_measured     := tests/fixtures/measured
seeds_chromatogram := tests/fixtures/measured
seeds_settings     := tests/fixtures/settings
seeds_parse        := tests/fixtures/readers $(addprefix $(SHAREDCORPUS)/,gaussian orca turbomole)
seeds_energies     := tests/fixtures/conformers $(addprefix $(SHAREDCORPUS)/,gaussian mopac orca)
seeds_formats      := tests/fixtures/bil tests/fixtures/measured
# The direct targets parse a whole input each run: shorter inputs keep them
# at thousands a second, and their seeds' tables are short.
maxlen_parse       := 8192
maxlen_energies    := 8192
dict_readers       := fuzz/readers.dict
dict_parse         := fuzz/readers.dict
dict_energies      := fuzz/energies.dict

fuzz: deps
	$(MAKE) fuzz-build
	$(MAKE) fuzz-run

fuzz-build:
	CC=clang CXX=clang++ cmake -S . -B $(FUZZBUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DORVANIX_FUZZ=ON -DORVANIX_SANITIZE=ON -DORVANIX_QT_WIDGETS=OFF
	cmake --build $(FUZZBUILD) -j $(JOBS) --target $(addsuffix _fuzz,$(FUZZTARGETS))

fuzz-run: $(addprefix fuzz-run-,$(FUZZTARGETS))

fuzz-run-%:
	mkdir -p $(FUZZBUILD)/$(FUZZCORPUS)/$*
	cd $(FUZZBUILD) && QT_QPA_PLATFORM=offscreen \
	  ASAN_OPTIONS=detect_leaks=0:abort_on_error=1:max_malloc_fill_size=0 \
	  UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
	  fuzz/$*_fuzz -max_total_time=$(FUZZTIME) -timeout=30 -rss_limit_mb=4096 \
	  -max_len=$(or $(maxlen_$*),65536) \
	  -dict=$(CURDIR)/$(or $(dict_$*),fuzz/files.dict) \
	  $(FUZZCORPUS)/$* $(wildcard $(abspath $(seeds_$*)))

clean:
	rm -rf $(BUILD) $(CHECKBUILD) $(BENCHBUILD) $(FUZZBUILD) $(CLANGBUILD)
