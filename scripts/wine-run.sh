#!/usr/bin/env bash
# Runs a Windows program under Wine with its text output's CR LF line ends made LF, as
# the build's tools (the test discovery of ctest) read it. The program's status is kept.
set -o pipefail
wine "$@" | tr -d '\r'
