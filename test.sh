#!/usr/bin/env bash
# Installs what is missing, builds with tests and runs every test; exits non-zero on any failure.
# Usage: ./test.sh
#   LUMIVERT_SANITIZE=address,undefined ./test.sh   ASan + UBSan build in build-address-undefined
#   LUMIVERT_SANITIZE=thread ./test.sh              TSan build in build-thread: the logic tests only
#                                                   (import, generation, list file, CLI; no windows)
#   LUMIVERT_TEST_EXCLUDE=REGEX                     leave out the tests whose names match (ctest -E)
set -euo pipefail
cd "$(dirname "$0")"
root="$(pwd)"
tools/deps.sh $(cat tools/build-packages.txt) libgtest-dev xvfb xauth libheif-plugin-x265 libheif-plugin-aomenc
dir=build-test
[ -n "${LUMIVERT_SANITIZE:-}" ] && dir="build-${LUMIVERT_SANITIZE//,/-}"

# Sanitizer settings apply to the build too: gtest_discover_tests runs every test binary once.
case "${LUMIVERT_SANITIZE:-}" in
  *address*|*undefined*)
    # Leaks are reported except those inside Qt's and fontconfig's own caches (listed, with reasons,
    # in the suppressions file); any UBSan report fails the test.
    export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1:detect_stack_use_after_return=1:check_initialization_order=1${ASAN_OPTIONS:+:$ASAN_OPTIONS}"
    export LSAN_OPTIONS="suppressions=$root/tests/reliability/lsan.supp:print_suppressions=0${LSAN_OPTIONS:+:$LSAN_OPTIONS}"
    export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1:suppressions=$root/tests/reliability/ubsan.supp${UBSAN_OPTIONS:+:$UBSAN_OPTIONS}"
    ;;
  *thread*)
    export TSAN_OPTIONS="suppressions=$root/tests/reliability/tsan.supp:halt_on_error=0:second_deadlock_stack=1${TSAN_OPTIONS:+:$TSAN_OPTIONS}"
    ;;
esac

cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DLUMIVERT_TESTS=ON \
  -DLUMIVERT_SANITIZE="${LUMIVERT_SANITIZE:-}" >/dev/null
targets=()
# Under TSan only the logic tests are built and run: they hold every thread of ours (the worker
# pools of import, generation and the list file); the window tests would only add Qt's own threads.
[ "${LUMIVERT_SANITIZE:-}" = thread ] && targets=(--target components_tests catalogue_tests generate_tests app_tests)
cmake --build "$dir" --parallel "$(nproc)" "${targets[@]}"
export QT_QPA_PLATFORM=offscreen
pattern=${LUMIVERT_TEST_EXCLUDE:-}
# The window tests' executables are not built under TSan; CTest lists them as *_NOT_BUILT.
[ "${LUMIVERT_SANITIZE:-}" = thread ] && pattern="${pattern:+$pattern|}_NOT_BUILT\$"
exclude=()
[ -n "$pattern" ] && exclude=(-E "$pattern")
ctest --test-dir "$dir" --output-on-failure --parallel "$(nproc)" --timeout 600 "${exclude[@]}"
