#!/usr/bin/env bash
# files_test.sh WINDOWS_BUILD PREFIX: the file layer's own tests (tests/core/files_test.cpp),
# built for Windows, run under Wine, so that its promises hold on the system they are made for.
set -euo pipefail
windows_build=$1
prefix=$2
source "$(dirname "$0")/wine_lib.sh"
tests_exe="$windows_build/windows/zanbury-files-tests.exe"
need_windows_programs "$tests_exe"
need_wine
use_wine_prefix "$prefix"
cd "$work"
run_exe "$tests_exe" --gtest_brief=1
