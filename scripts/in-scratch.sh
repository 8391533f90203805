#!/usr/bin/env bash
# Runs a command in a scratch folder of its own (mktemp -d, under $TMPDIR or
# /tmp), removed afterwards, so that runs at the same time never share a
# file. The exit status is the command's.
# Usage: in-scratch.sh COMMAND [ARG ...]
set -euo pipefail
dir="$(mktemp -d)"
trap 'rm -rf "$dir"' EXIT
status=0
(cd "$dir" && "$@") || status=$?
exit "$status"
