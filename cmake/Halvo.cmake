# Shared build settings and helpers for every target of the tree.

# The staged program folder: executables, shared libraries and every data file the programs
# find "relative to their own folder", side by side, so a build runs as an install does.
set(HALVO_STAGE_DIR ${CMAKE_BINARY_DIR}/stage CACHE INTERNAL "staged program folder")
set(HALVO_INSTALL_DIR lib/halvo CACHE STRING "program folder below the install prefix")
file(MAKE_DIRECTORY ${HALVO_STAGE_DIR})

add_library(halvo_warnings INTERFACE)
target_compile_options(halvo_warnings INTERFACE -Wall -Wextra)
target_include_directories(halvo_warnings INTERFACE ${PROJECT_SOURCE_DIR})

if(HALVO_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
endif()

# A static library of the core; links the warnings and the repository root include path.
function(halvo_library name)
  add_library(${name} STATIC ${ARGN})
  target_link_libraries(${name} PUBLIC halvo_warnings)
endfunction()

# A deliverable that lives in the program folder (executable or shared library).
function(halvo_stage target)
  set_target_properties(${target} PROPERTIES
    RUNTIME_OUTPUT_DIRECTORY ${HALVO_STAGE_DIR}
    LIBRARY_OUTPUT_DIRECTORY ${HALVO_STAGE_DIR}
    BUILD_RPATH "$ORIGIN"
    INSTALL_RPATH "$ORIGIN")
  install(TARGETS ${target}
    RUNTIME DESTINATION ${HALVO_INSTALL_DIR}
    LIBRARY DESTINATION ${HALVO_INSTALL_DIR})
endfunction()

# An executable in the program folder with a link in <prefix>/bin.
function(halvo_stage_program target)
  halvo_stage(${target})
  install(CODE "
    file(MAKE_DIRECTORY \$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/bin)
    file(CREATE_LINK ../${HALVO_INSTALL_DIR}/$<TARGET_FILE_NAME:${target}>
         \$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/bin/$<TARGET_FILE_NAME:${target}> SYMBOLIC)")
endfunction()

# Copies a data file or tree into the staged program folder at build time and installs it.
#   halvo_stage_data(<target-name> SOURCE <file-or-dir> DESTINATION <relative dir in program folder>)
function(halvo_stage_data name)
  cmake_parse_arguments(A "" "SOURCE;DESTINATION" "" ${ARGN})
  set(dst ${HALVO_STAGE_DIR}/${A_DESTINATION})
  if(IS_DIRECTORY ${A_SOURCE})
    file(GLOB_RECURSE deps CONFIGURE_DEPENDS ${A_SOURCE}/*)
    add_custom_command(OUTPUT ${CMAKE_CURRENT_BINARY_DIR}/${name}.stamp
      COMMAND ${CMAKE_COMMAND} -E make_directory ${dst}
      COMMAND ${CMAKE_COMMAND} -E copy_directory ${A_SOURCE} ${dst}
      COMMAND ${CMAKE_COMMAND} -E touch ${CMAKE_CURRENT_BINARY_DIR}/${name}.stamp
      DEPENDS ${deps} VERBATIM)
    install(DIRECTORY ${A_SOURCE}/ DESTINATION ${HALVO_INSTALL_DIR}/${A_DESTINATION})
  else()
    get_filename_component(fname ${A_SOURCE} NAME)
    add_custom_command(OUTPUT ${CMAKE_CURRENT_BINARY_DIR}/${name}.stamp
      COMMAND ${CMAKE_COMMAND} -E make_directory ${dst}
      COMMAND ${CMAKE_COMMAND} -E copy_if_different ${A_SOURCE} ${dst}/${fname}
      COMMAND ${CMAKE_COMMAND} -E touch ${CMAKE_CURRENT_BINARY_DIR}/${name}.stamp
      DEPENDS ${A_SOURCE} VERBATIM)
    install(FILES ${A_SOURCE} DESTINATION ${HALVO_INSTALL_DIR}/${A_DESTINATION})
  endif()
  add_custom_target(${name} ALL DEPENDS ${CMAKE_CURRENT_BINARY_DIR}/${name}.stamp)
endfunction()

# The main of every test suite: each test process works in a fresh folder of its own.
if(HALVO_BUILD_TESTS)
  add_library(halvo_test_main STATIC ${CMAKE_CURRENT_LIST_DIR}/testmain/test_main.cpp)
  target_link_libraries(halvo_test_main PUBLIC GTest::gtest)
endif()

# A GoogleTest suite run by CTest. HALVO_HOME points the programs at the staged folder, and the
# working directory is a per-suite scratch folder, and each test process moves into a fresh folder
# below it (halvo_test_main), so tests running side by side never see each other's files.
#   halvo_test(<name> SOURCES ... LIBS ... [ENV k=v ...])
function(halvo_test name)
  if(NOT HALVO_BUILD_TESTS)
    return()
  endif()
  cmake_parse_arguments(A "" "" "SOURCES;LIBS;ENV" ${ARGN})
  add_executable(${name} ${A_SOURCES})
  target_link_libraries(${name} PRIVATE ${A_LIBS} halvo_test_main GTest::gtest halvo_warnings)
  set(work ${CMAKE_CURRENT_BINARY_DIR}/${name}.work)
  file(MAKE_DIRECTORY ${work})
  target_compile_definitions(${name} PRIVATE
    HALVO_TEST_SOURCE_DIR="${CMAKE_CURRENT_SOURCE_DIR}"
    HALVO_TEST_STAGE_DIR="${HALVO_STAGE_DIR}")
  gtest_discover_tests(${name}
    WORKING_DIRECTORY ${work}
    DISCOVERY_TIMEOUT 60
    PROPERTIES ENVIRONMENT "HALVO_HOME=${HALVO_STAGE_DIR};QT_QPA_PLATFORM=offscreen;${A_ENV}")
endfunction()

# A Google Benchmark program (built, not run by CTest).
function(halvo_benchmark name)
  if(NOT HALVO_BUILD_BENCHMARKS)
    return()
  endif()
  cmake_parse_arguments(A "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${A_SOURCES})
  target_link_libraries(${name} PRIVATE ${A_LIBS} benchmark::benchmark benchmark::benchmark_main halvo_warnings)
endfunction()

# A libFuzzer target, built only with clang (-fsanitize=fuzzer).
function(halvo_fuzzer name)
  if(NOT HALVO_BUILD_FUZZERS OR NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    return()
  endif()
  cmake_parse_arguments(A "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${A_SOURCES})
  target_compile_options(${name} PRIVATE -fsanitize=fuzzer,address,undefined)
  target_link_options(${name} PRIVATE -fsanitize=fuzzer,address,undefined)
  target_link_libraries(${name} PRIVATE ${A_LIBS} halvo_warnings)
endfunction()
