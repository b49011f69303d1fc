#!/bin/sh
# The main job: builds the programs and runs the shipped example project through halvo-cli.
set -e
cd "$(dirname "$0")/.."
tools/deps.sh
cmake --preset default >/dev/null
cmake --build --preset default --target halvo-cli stage_default_hvf
STAGE=build/default/stage
OUT=$(mktemp -d)
"$STAGE/halvo-cli" new "$OUT/project.hvf"
"$STAGE/halvo-cli" show "$OUT/project.hvf"
