#!/bin/sh
# The whole test suite: optimised build, then the sanitizer build, each built and run by CTest.
set -e
cd "$(dirname "$0")/.."
tools/deps.sh
for preset in default asan; do
  cmake --preset $preset >/dev/null
  cmake --build --preset $preset
  ctest --preset $preset
done
