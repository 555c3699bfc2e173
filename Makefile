# The two commands of the README. Each installs the Debian packages it is
# missing, builds out of tree in build/ and runs.
BUILD ?= build
JOBS ?= $(shell nproc)
PACKAGES = cmake g++ make pkg-config libgtest-dev libgmock-dev libcairo2-dev \
  libfontconfig-dev libfreetype-dev fonts-liberation libsqlite3-dev sqlite3 \
  unixodbc-dev unixodbc libsqliteodbc libcups2-dev cups-daemon cups-client \
  poppler-utils clang python3

.PHONY: run test deps build asan fuzz bench clean install deb pictures

deps:
	@missing=""; for p in $(PACKAGES); do \
	  dpkg -s $$p >/dev/null 2>&1 || missing="$$missing $$p"; done; \
	if [ -n "$$missing" ]; then \
	  echo "installing:$$missing"; \
	  apt-get update -qq && DEBIAN_FRONTEND=noninteractive apt-get install -y -qq $$missing; \
	fi

build: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
	cmake --build $(BUILD) -j $(JOBS)

# Formats the example batch with the example reference database: out/claims.fmt,
# its printed pages out/claims.pdf and the run log (deleted once printed).
run: build
	mkdir -p out
	$(BUILD)/ub04fmt --out out --file claims.fmt --dsn $(BUILD)/examples/reference.db \
	  examples/batch.txt

# Everything: bounded fuzz runs (a minute in all), the suite under the
# sanitizers, then the suite itself.
FUZZ_SMOKE_SECONDS ?= 12
test: build
	$(MAKE) --no-print-directory fuzz FUZZ_SECONDS=$(FUZZ_SMOKE_SECONDS) FUZZ_FLAGS=-seed=1
	$(MAKE) --no-print-directory asan
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

# The whole suite under AddressSanitizer and UndefinedBehaviorSanitizer.
asan: deps
	cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DUB04_SANITIZE=ON >/dev/null
	cmake --build build-asan -j $(JOBS)
	cd build-asan && ctest --output-on-failure -j $(JOBS)

# libFuzzer targets (clang), each for FUZZ_SECONDS.
FUZZ_SECONDS ?= 300
FUZZ_TARGETS = split_tokens fmt_reader host_sequence pay_adj npi_legacy
fuzz: deps
	CC=clang CXX=clang++ cmake -S . -B build-fuzz -DUB04_FUZZ=ON -DUB04_TESTS=OFF >/dev/null
	cmake --build build-fuzz -j $(JOBS)
	for t in $(FUZZ_TARGETS); do mkdir -p build-fuzz/corpus/$$t; \
	  build-fuzz/tests/fuzz/fuzz_$$t -max_total_time=$(FUZZ_SECONDS) -timeout=25 $(FUZZ_FLAGS) build-fuzz/corpus/$$t \
	    tests/fuzz/seeds/$$t || exit 1; done

# Benchmarks: generates batches of 10k, 100k and 1M charges and prints one
# table of formatting, I/O floor, printing and memory (bench/README.md).
BENCH_BUILD ?= build-bench
BENCH_PACKAGES = libbenchmark-dev python3-reportlab time
BENCH_ARGS ?=
bench: deps
	@missing=""; for p in $(BENCH_PACKAGES); do \
	  dpkg -s $$p >/dev/null 2>&1 || missing="$$missing $$p"; done; \
	if [ -n "$$missing" ]; then \
	  echo "installing:$$missing"; \
	  apt-get update -qq && DEBIAN_FRONTEND=noninteractive apt-get install -y -qq $$missing; \
	fi
	cmake -S . -B $(BENCH_BUILD) -DCMAKE_BUILD_TYPE=Release -DUB04_BENCH=ON -DUB04_TESTS=OFF >/dev/null
	cmake --build $(BENCH_BUILD) -j $(JOBS)
	mkdir -p $(BENCH_BUILD)/batches
	for n in 10k:10000 100k:100000 1M:1000000; do \
	  $(BENCH_BUILD)/bench/gen --charges $${n#*:} --seed 1 > $(BENCH_BUILD)/batches/$${n%%:*}.txt || exit 1; done
	bench/run --build $(BENCH_BUILD) $(BENCH_ARGS) $(BENCH_BUILD)/batches/10k.txt \
	  $(BENCH_BUILD)/batches/100k.txt $(BENCH_BUILD)/batches/1M.txt

# Installs the libraries, headers, ub04fmt, its man page, the pkg-config file
# and the CMake package under PREFIX (staged under DESTDIR when given).
PREFIX ?= /usr/local
DESTDIR ?=
install: build
	DESTDIR="$(DESTDIR)" cmake --install $(BUILD) --prefix "$(PREFIX)"

# The Debian package (CPack), written to $(BUILD)/: install it with
# apt-get install ./$(BUILD)/ub04ppa_*.deb
deb: build
	cd $(BUILD) && cpack -G DEB

clean:
	rm -rf $(BUILD) build-asan build-fuzz out

# The README's pictures, checked in under docs/: the first claim of the
# example printed with --form, the last page of its claim of two pages, and
# the calibration page (pdftoppm, from poppler-utils). Builds only what it
# runs.
PICTURES = $(BUILD)/pictures
pictures: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
	cmake --build $(BUILD) -j $(JOBS) --target ub04fmt reference_db
	rm -rf $(PICTURES) && mkdir -p $(PICTURES)
	$(BUILD)/ub04fmt -q --out $(PICTURES) --dsn $(BUILD)/examples/reference.db --form \
	  --test-claims 1-1 examples/batch.txt
	pdftoppm -r 80 -png -singlefile $(PICTURES)/claims.pdf docs/form-example
	$(BUILD)/ub04fmt -q --out $(PICTURES) --dsn $(BUILD)/examples/reference.db --form \
	  --test-claims 4-4 examples/batch.txt
	pdftoppm -r 80 -png -singlefile $(PICTURES)/claims.pdf docs/form-multipage
	$(BUILD)/ub04fmt -q --calibration $(PICTURES)/calibration.pdf
	pdftoppm -r 80 -png -singlefile $(PICTURES)/calibration.pdf docs/calibration
