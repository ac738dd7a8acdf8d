#!/usr/bin/env bash
# Checks that a larger build can take this project in with add_subdirectory():
# a throw-away parent project with targets of its own named as this
# project's libraries and programs are named without their prefix configures
# with the tests off, and configures and builds everything with the tests on.
# It builds in build-subproject/ (kept, so that a second run only builds what
# changed; the compiler cache, where there is one, serves the first).
#   scripts/check-subproject.sh
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
work="$root/build-subproject"
parent="$work/parent"
mkdir -p "$parent"
cat >"$parent/CMakeLists.txt.new" <<CMAKE
cmake_minimum_required(VERSION 3.25)
project(Parent LANGUAGES CXX)
file(WRITE \${CMAKE_CURRENT_BINARY_DIR}/stub.cpp "int stub() { return 0; }\n")
file(WRITE \${CMAKE_CURRENT_BINARY_DIR}/main.cpp "int main() { return 0; }\n")
foreach(name forms windows textio catalogues version warnings forms_testing monkey_engine
        hydraulics_engine storm_engine storm_network_engine fittings_engine
        building_services_engine)
  add_library(\${name} STATIC \${CMAKE_CURRENT_BINARY_DIR}/stub.cpp)
endforeach()
foreach(name monkey monkey_tests app_tests forms_tests network_bench vantor_tools)
  add_executable(\${name} \${CMAKE_CURRENT_BINARY_DIR}/main.cpp)
endforeach()
add_subdirectory("$root" vantor)
if(NOT TARGET VantorTools::windows OR NOT TARGET vt_vantor_tools)
  message(FATAL_ERROR "the program's targets are missing")
endif()
CMAKE
# Rewritten only when it changed, so that an unchanged parent is not
# configured afresh.
if cmp -s "$parent/CMakeLists.txt.new" "$parent/CMakeLists.txt"; then
  rm "$parent/CMakeLists.txt.new"
else
  mv "$parent/CMakeLists.txt.new" "$parent/CMakeLists.txt"
fi
launcher=()
if command -v ccache >/dev/null; then
  launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
for tests in OFF ON; do
  if ! cmake -S "$parent" -B "$work/build-$tests" -G Ninja "-DVT_BUILD_TESTS=$tests" \
      "${launcher[@]}" >"$work/configure-$tests.log" 2>&1; then
    cat "$work/configure-$tests.log" >&2
    echo "check-subproject: the parent project does not configure with VT_BUILD_TESTS=$tests" >&2
    exit 1
  fi
done
if ! cmake --build "$work/build-ON" --parallel "$(nproc)" >"$work/build.log" 2>&1; then
  cat "$work/build.log" >&2
  echo "check-subproject: the parent project does not build" >&2
  exit 1
fi
echo "check-subproject: the project configures inside a parent project with the tests off and builds there with the tests on"
