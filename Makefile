# Set-up, build and test on a fresh Debian/Ubuntu machine.
#   make run    build, then start VantorFlash on the simulated ECM
#   make test   build and run every test through CTest
#   make asan / make tsan   the same tests under the sanitizers
#   make fuzz       each libFuzzer target for FUZZ_SECONDS (default 60), with clang
#   make windows    cross-compile the three programs and the suites with mingw-w64, run the suites under
#                   Wine, then a smoke run of both window programs under Wine (tools/windows/smoke.sh)
#   make package    the .deb package of the three programs (and the Windows packages when the cross build exists)
#   make windows-package   the Windows zip and installer
#   make campaign   the fault campaigns at scale (CAMPAIGN_ARGS="programs updates workers cut-step")

BUILD   ?= build
JOBS    ?= $(shell nproc 2>/dev/null || echo 2)
CMAKE_FLAGS ?=
ifeq ($(CI),true)
  CMAKE_FLAGS += -DVANTOR_WERROR=ON
endif

PACKAGES = cmake g++ make pkg-config libgtest-dev libgmock-dev libbenchmark-dev \
           qt6-base-dev libgl-dev libpng-dev fonts-liberation fontconfig python3-scipy xvfb xauth

empty :=
space := $(empty) $(empty)

.PHONY: all deps configure build test run asan tsan fuzz bench campaign windows windows-build windows-package package clean

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

# CTEST_ARGS narrows a run, e.g. CTEST_ARGS="-L 'live|logs'" (labels are the test folders).
CTEST_ARGS ?=
test: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS) $(CTEST_ARGS)

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

# The sanitizer builds leave warnings to the normal build: GCC's instrumented
# code gives false positives. ASan+UBSan runs every suite without a window;
# TSan runs the suites with threads.
SANITIZE_FLAGS = -DVANTOR_WERROR=OFF -DVANTOR_GUI=OFF -DVANTOR_BENCH=OFF
TSAN_SUITES   ?= link live logs sim cal update velearn
asan:
	$(MAKE) test BUILD=build-asan CMAKE_FLAGS="$(CMAKE_FLAGS) -DVANTOR_ASAN=ON $(SANITIZE_FLAGS)"

tsan:
	$(MAKE) configure BUILD=build-tsan CMAKE_FLAGS="$(CMAKE_FLAGS) -DVANTOR_TSAN=ON $(SANITIZE_FLAGS)"
	cmake --build build-tsan --target $(addprefix test_,$(TSAN_SUITES)) -j $(JOBS)
	cd build-tsan && ctest --output-on-failure -j $(JOBS) -L '^($(subst $(space),|,$(strip $(TSAN_SUITES))))$$' $(CTEST_ARGS)

FUZZ_SECONDS ?= 60
FUZZ_BUILD   ?= build-fuzz
FUZZ_TARGETS  = frame_file frame_ring settings bin reply log_passes
# Each target starts from the seeds and from what earlier runs kept; a crash
# leaves its input in $(FUZZ_BUILD)/findings/<target>/ and fails the run.
FUZZ_PACKAGES = cmake make clang libclang-rt-dev
fuzz:
	$(MAKE) deps PACKAGES="$(FUZZ_PACKAGES)"
	CXX=clang++ cmake -S . -B $(FUZZ_BUILD) -DVANTOR_FUZZ=ON -DVANTOR_GUI=OFF -DVANTOR_TESTS=OFF \
	  -DVANTOR_BENCH=OFF -DCMAKE_BUILD_TYPE=RelWithDebInfo $(CMAKE_FLAGS)
	cmake --build $(FUZZ_BUILD) -j $(JOBS)
	$(FUZZ_BUILD)/fuzz/vantor_fuzz_seeds $(FUZZ_BUILD)/corpus
	@failed=""; for t in $(FUZZ_TARGETS); do \
	  mkdir -p $(FUZZ_BUILD)/findings/$$t; start=$$(date +%s); \
	  $(FUZZ_BUILD)/fuzz/$${t}_fuzz -max_total_time=$(FUZZ_SECONDS) -timeout=10 -rss_limit_mb=1024 -print_final_stats=1 \
	    -artifact_prefix=$(FUZZ_BUILD)/findings/$$t/ $(FUZZ_BUILD)/corpus/$$t \
	    > $(FUZZ_BUILD)/findings/$$t.log 2>&1 || failed="$$failed $$t"; \
	  echo "$$t: $$(( $$(date +%s) - start )) s, $$(grep -o 'stat::number_of_executed_units: [0-9]*' $(FUZZ_BUILD)/findings/$$t.log | grep -o '[0-9]*$$') runs, corpus $$(ls $(FUZZ_BUILD)/corpus/$$t | wc -l), findings $$(ls $(FUZZ_BUILD)/findings/$$t | wc -l)"; \
	done; \
	if [ -n "$$failed" ]; then echo "fuzz: crashes in$$failed (see $(FUZZ_BUILD)/findings)"; exit 1; fi

WINDOWS_BUILD    ?= build-windows
WINDOWS_PACKAGES  = cmake make g++-mingw-w64-x86-64-posix wine64 wine googletest nsis xvfb xauth xdotool imagemagick
WINDOWS_SUITES    = platform link settings live sim logs cal velearn update ui update_window ui_win32
# Tests that expect POSIX paths ('/' joins, the build's own folder, names without .exe) or
# POSIX files (a folder opens as a file there)
WINE_SKIP         = ProgramDirectory.*:SettingsFile.ConfigPathIsBesideTheProgram:BinNaming.NewGoesBeforeTheExtension:FirmwareImage.ShippedStandInIsTheDocumentedPattern:AnalysisWindowTest.UnreadableLogAndDumpOntoItselfAreReported:UpdateWindowTest.BinUpdateConvertsTheChosenFileAndRemembersIt
windows-build:
	$(MAKE) deps PACKAGES="$(WINDOWS_PACKAGES)"
	cmake -S . -B $(WINDOWS_BUILD) -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
	  -DVANTOR_BENCH=OFF -DVANTOR_GTEST_SOURCE=/usr/src/googletest $(CMAKE_FLAGS)
	cmake --build $(WINDOWS_BUILD) --target vantor VantorFlash ORV_KDM9Update $(addprefix test_,$(WINDOWS_SUITES)) -j $(JOBS)

# The suites run in a Wine prefix of their own with Wine's null display driver
# (the window host's tests make windows; no display server is needed); the
# smoke run needs the Linux `vantor` for the simulated module behind COM5.
windows: windows-build configure
	cmake --build $(BUILD) --target vantor -j $(JOBS)
	tools/windows/wine_prefix.sh $(CURDIR)/$(WINDOWS_BUILD)/wine-tests null
	@total=0; failed=""; for s in $(WINDOWS_SUITES); do \
	  log=$(WINDOWS_BUILD)/tests/test_$$s.wine.log; \
	  WINEPREFIX=$(CURDIR)/$(WINDOWS_BUILD)/wine-tests WINEDEBUG=-all DISPLAY= \
	    wine $(WINDOWS_BUILD)/tests/test_$$s.exe --gtest_filter=-$(subst $(space),:,$(strip $(WINE_SKIP))) > $$log 2>&1 || failed="$$failed $$s"; \
	  n=$$(sed -n 's/^\[  PASSED  \] \([0-9]*\) test.*/\1/p' $$log); total=$$((total + $${n:-0})); \
	  echo "test_$$s.exe: $${n:-0} passed"; \
	done; \
	echo "windows: $$total tests passed under Wine"; \
	if [ -n "$$failed" ]; then echo "windows: failures in$$failed (see $(WINDOWS_BUILD)/tests/*.wine.log)"; exit 1; fi
	tools/windows/smoke.sh $(WINDOWS_BUILD) $(BUILD)

# The Windows zip (CPack) and installer (NSIS) of the cross build.
windows-package: windows-build
	cd $(WINDOWS_BUILD) && cpack -G ZIP
	cmake --build $(WINDOWS_BUILD) --target windows_installer

# The Linux package (.deb) of the three programs; `apt-get install ./FILE.deb` installs it.
package: build
	$(MAKE) deps PACKAGES="dpkg-dev"
	cd $(BUILD) && cpack -G DEB
	@if [ -f $(WINDOWS_BUILD)/CMakeCache.txt ]; then $(MAKE) windows-package; fi

campaign: configure
	cmake --build $(BUILD) --target vantor_campaign -j $(JOBS)
	nice $(BUILD)/tools/vantor_campaign $(CAMPAIGN_ARGS)

bench: build
	@for b in $(BUILD)/bench/*_bench; do [ -x "$$b" ] && "$$b"; done; true

clean:
	rm -rf $(BUILD) build-asan build-tsan $(WINDOWS_BUILD)
