#!/usr/bin/env bash
# Every fuzz target for a few seconds (half a minute in all on two cores): catches a regression
# quickly.
exec "$(dirname "$0")/run.sh" "${FUZZ_SECONDS:-4}" "$@"
