# What the Windows cross build takes from the host: the header-only command-line and JSON
# libraries, each handed to the cross compiler as a folder of its own (the host's
# /usr/include as a whole holds the C library of Linux), and GoogleTest, built with the
# cross compiler from the sources Debian ships.
set(RQ_HOST_HEADERS ${CMAKE_BINARY_DIR}/host-headers)
file(MAKE_DIRECTORY ${RQ_HOST_HEADERS})

function(rq_host_header_library target header)
  cmake_path(GET header PARENT_PATH folder)
  find_path(found_${target} ${header} PATHS /usr/include NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH)
  if(NOT found_${target})
    message(FATAL_ERROR "${header} is missing on the host: run scripts/install-deps.sh")
  endif()
  file(CREATE_LINK ${found_${target}}/${folder} ${RQ_HOST_HEADERS}/${folder} SYMBOLIC)
  add_library(${target} INTERFACE IMPORTED GLOBAL)
  target_include_directories(${target} SYSTEM INTERFACE ${RQ_HOST_HEADERS})
endfunction()

rq_host_header_library(CLI11::CLI11 CLI/CLI.hpp)
rq_host_header_library(nlohmann_json::nlohmann_json nlohmann/json.hpp)

if(RQ_BUILD_TESTS)
  set(RQ_GOOGLETEST_SOURCE /usr/src/googletest)
  if(NOT EXISTS ${RQ_GOOGLETEST_SOURCE}/CMakeLists.txt)
    message(FATAL_ERROR "GoogleTest's sources are missing: run scripts/install-deps.sh")
  endif()
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
  # Its targets include GTest::gtest_main, as the host's package names it.
  add_subdirectory(${RQ_GOOGLETEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
endif()
