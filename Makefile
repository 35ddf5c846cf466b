# Set-up, build and test on a fresh Debian/Ubuntu machine.
#   make run    build, then start VantorFlash on the simulated ECM
#   make test   build and run every test through CTest
#   make asan / make tsan   the same tests under the sanitizers
#   make campaign   the fault campaigns at scale (CAMPAIGN_ARGS="programs updates workers cut-step")

BUILD   ?= build
JOBS    ?= $(shell nproc 2>/dev/null || echo 2)
CMAKE_FLAGS ?=
ifeq ($(CI),true)
  CMAKE_FLAGS += -DVANTOR_WERROR=ON
endif

PACKAGES = cmake g++ make pkg-config libgtest-dev libgmock-dev libbenchmark-dev \
           qt6-base-dev libgl-dev libpng-dev fonts-liberation fontconfig python3-scipy xvfb xauth

.PHONY: all deps configure build test run asan tsan bench campaign clean

all: build

deps:
	@missing=""; for p in $(PACKAGES); do \
	  dpkg-query -W -f='$${Status}' $$p 2>/dev/null | grep -q "install ok installed" || missing="$$missing $$p"; \
	done; \
	if [ -n "$$missing" ]; then \
	  if [ "$$(id -u)" = 0 ]; then \
	    echo "Installing:$$missing"; \
	    apt-get update -qq && DEBIAN_FRONTEND=noninteractive apt-get install -y -qq $$missing; \
	  else \
	    echo "Missing packages. Run:"; \
	    echo "  sudo apt-get install -y$$missing"; \
	    exit 1; \
	  fi; \
	fi

configure: deps
	cmake -S . -B $(BUILD) $(CMAKE_FLAGS)

build: configure
	cmake --build $(BUILD) -j $(JOBS)

test: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

run: build
	@if [ -x $(BUILD)/apps/VantorFlash/VantorFlash ]; then \
	  if [ -z "$$DISPLAY" ] && [ -z "$$WAYLAND_DISPLAY" ]; then \
	    echo "No display is available. Start it under a virtual display with:"; \
	    echo "  xvfb-run make run"; exit 1; \
	  fi; \
	  $(BUILD)/apps/VantorFlash/VantorFlash --demo; \
	else \
	  $(BUILD)/apps/vantor/vantor sim; \
	fi

asan:
	$(MAKE) test BUILD=build-asan CMAKE_FLAGS="$(CMAKE_FLAGS) -DVANTOR_ASAN=ON -DVANTOR_GUI=OFF -DVANTOR_BENCH=OFF"

tsan:
	$(MAKE) test BUILD=build-tsan CMAKE_FLAGS="$(CMAKE_FLAGS) -DVANTOR_TSAN=ON -DVANTOR_GUI=OFF -DVANTOR_BENCH=OFF"

campaign: configure
	cmake --build $(BUILD) --target vantor_campaign -j $(JOBS)
	nice $(BUILD)/tools/vantor_campaign $(CAMPAIGN_ARGS)

bench: build
	@for b in $(BUILD)/bench/*_bench; do [ -x "$$b" ] && "$$b"; done; true

clean:
	rm -rf $(BUILD) build-asan build-tsan
