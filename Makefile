# The README's two commands are `make run` and `make test`; everything else is a step of them.
BUILD_DIR ?= build
BUILD_TYPE ?= RelWithDebInfo
# CI treats every compiler warning as an error.
WERROR ?= $(if $(CI),ON,OFF)
JOBS ?= $(shell nproc)

.PHONY: all deps configure build run test sanitize-test fuzz clean bench

all: build

deps:
	./scripts/install-deps

configure: deps
	cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) -DQUIMO_WERROR=$(WERROR)

build: configure
	cmake --build $(BUILD_DIR) -j $(JOBS)

run: build
	@if [ -z "$$DISPLAY" ] && [ -z "$$WAYLAND_DISPLAY" ] && [ -z "$$QT_QPA_PLATFORM" ]; then \
	    echo "quimo-auswertung: kein Bildschirm gefunden (DISPLAY ist nicht gesetzt) - bitte in einer grafischen Sitzung starten."; \
	    exit 1; \
	fi
	cd examples && ../$(BUILD_DIR)/src/quimo-auswertung

test: build
	cd $(BUILD_DIR) && ctest --output-on-failure -j $(JOBS)

# The whole suite once more with AddressSanitizer and UndefinedBehaviorSanitizer. Leak checks
# stay on for the core; Qt's and fontconfig's caches live until exit and are not leaks of ours.
SANITIZE_DIR ?= build-sanitize
sanitize-test: deps
	cmake -S . -B $(SANITIZE_DIR) -DCMAKE_BUILD_TYPE=Debug -DQUIMO_SANITIZE=ON -DQUIMO_WERROR=$(WERROR)
	cmake --build $(SANITIZE_DIR) -j $(JOBS)
	cd $(SANITIZE_DIR) && ASAN_OPTIONS=detect_leaks=1 ctest --output-on-failure -j $(JOBS) -R '^unit/'
	cd $(SANITIZE_DIR) && ASAN_OPTIONS=detect_leaks=0 ctest --output-on-failure -j $(JOBS) -E '^unit/'

# libFuzzer on the answer file's whole data path; FUZZ_SECONDS=60 by default.
FUZZ_DIR ?= build-fuzz
FUZZ_SECONDS ?= 60
fuzz: deps
	CXX=clang++ cmake -S . -B $(FUZZ_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUIMO_FUZZ=ON -DQUIMO_WERROR=$(WERROR)
	cmake --build $(FUZZ_DIR) -j $(JOBS)
	mkdir -p $(FUZZ_DIR)/corpus
	$(FUZZ_DIR)/fuzz_answer_file -max_total_time=$(FUZZ_SECONDS) -print_final_stats=1 \
	    $(FUZZ_DIR)/corpus tests/fuzz/corpus

clean:
	rm -rf $(BUILD_DIR) $(SANITIZE_DIR) $(FUZZ_DIR)

# Start-up, memory, snapshot, instruction and export figures of a Release build; reports only.
BENCH_DIR ?= build-bench
bench: deps
	cmake -S . -B $(BENCH_DIR) -DCMAKE_BUILD_TYPE=Release -DQUIMO_BENCH=ON -DBUILD_TESTING=OFF -DQUIMO_WERROR=$(WERROR)
	cmake --build $(BENCH_DIR) --target bench_programs -j $(JOBS)
	bash bench/run.sh $(BENCH_DIR)
