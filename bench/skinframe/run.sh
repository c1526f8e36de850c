#!/usr/bin/env bash
# The skinned frame's cost under Wine, each figure beside its unskinned baseline in one run:
# 200 resizes of one window, and the memory of the program with its configuration window shown.
#   bench/skinframe/run.sh
set -euo pipefail
# shellcheck source=../session.sh
source "$(dirname "$0")/../session.sh"
start=$(mktemp -d)
cd "$start"
wine "$bin/ktskinframe.exe" | tr -d '\r'
cd / && rm -rf "$start"
