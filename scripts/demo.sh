#!/usr/bin/env bash
# The main job: builds the driver and runs zemshost's demo on the sample model in a fresh
# simulated machine under build/demo-machine.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
bash "$top/scripts/setup.sh"
bash "$top/scripts/build.sh" native
export ZEMS_MACHINE_ROOT="$top/build/demo-machine"
rm -rf "$ZEMS_MACHINE_ROOT"
"$top/build/native/bin/zemshost" demo "$@"
