# Set-up and build entry points; see README.md.
#   make demo   bootstrap, build the engine and qorv, build the example installer and run it
#               under Wine, saying what it showed
#   make test   bootstrap, build the five trees, run every test
SHELL := /bin/bash
JOBS ?= 2

.PHONY: all bootstrap build native win64 win64-lto win32 fuzz i386 qorv test demo bench \
        bench-install clean

all: build

bootstrap:
	bash scripts/bootstrap

build/native/CMakeCache.txt:
	cmake -S . -B build/native -DCMAKE_BUILD_TYPE=Debug
build/win64/CMakeCache.txt:
	cmake -S . -B build/win64 -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-x86_64.cmake -DCMAKE_BUILD_TYPE=Debug \
	  -DQUORVEX_SHIPPED_BUILD_ENGINE=$(CURDIR)/build/win64-lto/quorvex.exe
# The engine compiled and linked as the shipped one is, for x86_64 and with the test seam: the
# win64 tree runs its end-to-end tests on it a second time.
build/win64-lto/CMakeCache.txt:
	cmake -S . -B build/win64-lto -DCMAKE_TOOLCHAIN_FILE=cmake/clang-x86_64.cmake \
	  -DCMAKE_BUILD_TYPE=MinSizeRel -DQUORVEX_TESTS=OFF -DQUORVEX_TEST_SEAM=ON
build/fuzz/CMakeCache.txt:
	CC=clang CXX=clang++ cmake -S . -B build/fuzz -DCMAKE_BUILD_TYPE=Debug -DQUORVEX_FUZZ=ON -DQUORVEX_TESTS=OFF
build/i386/CMakeCache.txt:
	cmake -S . -B build/i386 -DCMAKE_TOOLCHAIN_FILE=cmake/i386.cmake -DCMAKE_BUILD_TYPE=Debug
build/release/CMakeCache.txt:
	cmake -S . -B build/release -DCMAKE_BUILD_TYPE=Release -DQUORVEX_TESTS=OFF -DQUORVEX_SANITIZE=OFF
build/win32/CMakeCache.txt:
	cmake -S . -B build/win32 -DCMAKE_TOOLCHAIN_FILE=cmake/clang-i686.cmake -DCMAKE_BUILD_TYPE=MinSizeRel \
	  -DQUORVEX_TESTS=OFF -DQUORVEX_TEST_SEAM=OFF

native: build/native/CMakeCache.txt
	cmake --build build/native -j$(JOBS)
win64: build/win64/CMakeCache.txt
	cmake --build build/win64 -j$(JOBS)
win64-lto: build/win64-lto/CMakeCache.txt
	cmake --build build/win64-lto -j$(JOBS) --target quorvex
# The qorv that users run: optimised, without the test tree's sanitizers.
qorv: build/release/CMakeCache.txt
	cmake --build build/release -j$(JOBS) --target qorv
win32: build/win32/CMakeCache.txt
	cmake --build build/win32 -j$(JOBS)
fuzz: build/fuzz/CMakeCache.txt
	cmake --build build/fuzz -j$(JOBS)
i386: build/i386/CMakeCache.txt
	cmake --build build/i386 -j$(JOBS)

build: native win64 win64-lto win32 fuzz i386

test: bootstrap
	$(MAKE) build
	ctest --test-dir build/native --output-on-failure
	ctest --test-dir build/win64 --output-on-failure
	ctest --test-dir build/fuzz --output-on-failure
	ctest --test-dir build/i386 --output-on-failure
	@ls -l build/win64/quorvex.exe build/win32/quorvex.exe | awk '{print "built " $$9 ": " $$5 " bytes"}'

demo: bootstrap build/release/CMakeCache.txt build/win64/CMakeCache.txt build/win32/CMakeCache.txt
	cmake --build build/release -j$(JOBS) --target qorv
	cmake --build build/win64 -j$(JOBS) --target quorvex
	cmake --build build/win32 -j$(JOBS) --target quorvex
	bash scripts/demo

# The string benchmarks, then the codec against its baselines on the shared payload.
bench: native
	build/native/core_bench
	bash ../shared/bench/make-corpus build/corpus
	build/native/codec_bench build/corpus/corpus.bin

# The engine's installation of the shared payload against msiexec's of the same files as an MSI.
bench-install:
	bash scripts/bench-install

clean:
	rm -rf build
