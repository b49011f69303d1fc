#!/bin/sh
# The main job: builds the programs and runs a shipped example project through halvo-cli.
set -e
cd "$(dirname "$0")/.."
tools/deps.sh
cmake --preset default >/dev/null
cmake --build --preset default --target halvo-cli stage_default_hvf stage_scl_err stage_weather stage_examples
STAGE=build/default/stage
"$STAGE/halvo-cli" simulate "$STAGE/examples/warehouse-makeup-air.hvf"
