#!/usr/bin/env bash
# Runs a Windows program under the test run's Wine session (see session.sh); its exit code is ours.
set -euo pipefail
. "$(dirname "$0")/../../scripts/wine-env.sh"
dir=${TAVRILO_SESSION_DIR:?}
export DISPLAY=:$(cat "$dir/display")
exec wine "$@"
