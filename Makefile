# Thin entry points; the scripts do the work.
.PHONY: run test build bench clean

run:
	bash scripts/run.sh

test:
	bash scripts/test.sh

build:
	scripts/install-deps.sh && scripts/build.sh

bench: build
	build/bench/iconwright-bench

clean:
	rm -rf build build-sanitize build-fuzz
