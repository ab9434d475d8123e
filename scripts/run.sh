#!/usr/bin/env bash
# Builds the project and runs the main job: the host shell kvhost runs the plug-in KPQX07C.so
# on the embedded default (the application server inside the host, the demo company database
# created on first use in build/default/kvhost-demo) with the demo script, and prints a summary.
# The transcript of the run is build/default/kvhost-demo/transcript.jsonl. Further options go to
# kvhost (kvhost --help).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/bootstrap.sh
cmake --preset default >/dev/null
cmake --build --preset default
demo=build/default/kvhost-demo
mkdir -p "$demo"
build/default/bin/kvhost --config "$demo" --script suite/kvhost/demo.json \
    --transcript "$demo/transcript.jsonl" "$@"
echo "Transcript: $demo/transcript.jsonl"
