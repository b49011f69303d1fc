#!/bin/sh
# Writes the shipped example projects data/examples/*.hvf from their JSON descriptions beside them
# (fields left out are record defaults). Run after changing an example's JSON; the .hvf files are
# committed, so a build never depends on this script.
#   tools/make-examples.sh [halvo-cli]   (default: build/default/stage/halvo-cli, built when missing)
set -e
cd "$(dirname "$0")/.."
CLI=${1:-build/default/stage/halvo-cli}
if [ ! -x "$CLI" ]; then
  tools/deps.sh
  cmake --preset default >/dev/null
  cmake --build --preset default --target halvo-cli
fi
# No template: the examples depend on their JSON alone, never on the shipped default.hvf. The
# program folder holds only the weather tree, so that each example's location is read from its
# weather file as choosing the location in the program does (station header, elevation, ...).
EMPTY=$(mktemp -d)
trap 'rm -rf "$EMPTY"' EXIT
ln -s "$PWD/data/Weather" "$EMPTY/Weather"
for json in data/examples/*.json; do
  hvf="${json%.json}.hvf"
  weather=$(python3 -c 'import json,sys; print(json.load(open(sys.argv[1]))["location"]["weatherFile"])' "$json")
  HALVO_HOME="$EMPTY" "$CLI" new "$hvf" --from "$json" --location "$weather" --force
  echo "wrote $hvf"
done
