# The README's two commands are `make run` and `make test`; everything else is a step of them.
BUILD_DIR ?= build
BUILD_TYPE ?= RelWithDebInfo
# CI treats every compiler warning as an error.
WERROR ?= $(if $(CI),ON,OFF)
JOBS ?= $(shell nproc)

.PHONY: all deps configure build run test clean

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

clean:
	rm -rf $(BUILD_DIR)
