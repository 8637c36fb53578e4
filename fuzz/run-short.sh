#!/usr/bin/env bash
# Every fuzz target for a few seconds (about a minute in all): catches a regression quickly.
exec "$(dirname "$0")/run.sh" "${FUZZ_SECONDS:-6}" "$@"
