# Shared build helpers: warning flags for our own code and the one-folder,
# one-library rule of the source tree.

add_library(ferrolune_warnings INTERFACE)
target_compile_options(ferrolune_warnings INTERFACE
  -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor -Wold-style-cast
  -Wcast-align -Woverloaded-virtual -Wconversion -Wsign-conversion
  -Wimplicit-fallthrough -Werror
  # g++ 12 at -O3 reports impossible overlaps inside std::string's own
  # concatenation (a known false positive of -Wrestrict); it says nothing
  # about our code.
  $<$<CXX_COMPILER_ID:GNU>:-Wno-restrict>)

# ferrolune_component(NAME DEPS ...): builds every .cpp file of the calling
# folder into the static library ferrolune_NAME. Dependencies are listed
# explicitly so that an include against the dependency direction fails.
function(ferrolune_component name)
  cmake_parse_arguments(ARG "" "" "DEPS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  if(sources)
    add_library(ferrolune_${name} STATIC ${sources})
    target_include_directories(ferrolune_${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
    target_link_libraries(ferrolune_${name} PUBLIC ${ARG_DEPS} PRIVATE ferrolune_warnings)
  else()
    add_library(ferrolune_${name} INTERFACE)
    target_include_directories(ferrolune_${name} INTERFACE ${PROJECT_SOURCE_DIR}/src)
    target_link_libraries(ferrolune_${name} INTERFACE ${ARG_DEPS})
  endif()
endfunction()

# ferrolune_test_suite(NAME LIBS ...): one GoogleTest program per test
# folder, from every .cpp file in it.
function(ferrolune_test_suite name)
  cmake_parse_arguments(ARG "" "" "LIBS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  if(NOT sources)
    return()
  endif()
  add_executable(test_${name} ${sources})
  target_link_libraries(test_${name} PRIVATE ${ARG_LIBS} ferrolune_test_support
    GTest::gtest GTest::gmock GTest::gtest_main ferrolune_warnings)
  gtest_discover_tests(test_${name} DISCOVERY_TIMEOUT 60
    PROPERTIES ENVIRONMENT "FERROLUNE_SOURCE_DIR=${PROJECT_SOURCE_DIR}")
endfunction()
