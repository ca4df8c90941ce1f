# Shortcuts for developers; the scripts are the real commands.
.PHONY: run test ci build clean format fuzz bench package

run:
	./run.sh

test:
	./test.sh

ci:
	.ci/run

fuzz:
	FUZZ_SECONDS=$${FUZZ_SECONDS:-60} ./scripts/fuzz.sh

bench:
	./scripts/bench.sh

package:
	./scripts/package.sh

build:
	cmake --preset build && cmake --build --preset build

format:
	clang-format -i $$(git ls-files '*.cpp' '*.h')

clean:
	rm -rf build build-asan fuzz-build bench-build bench-build-ui package-build dist
