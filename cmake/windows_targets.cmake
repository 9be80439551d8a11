# Windows build: the program, the scheduling agent, help pages and the Wine test suites.
add_compile_definitions(UNICODE _UNICODE NOMINMAX _WIN32_WINNT=0x0601 WINVER=0x0601 _WIN32_IE=0x0700)
add_compile_options(-Wall -Wextra -Wno-cast-function-type -Wno-missing-field-initializers)
set(VANTREL_STATIC_LINK -static -static-libgcc -static-libstdc++)
set(VANTREL_WIN_LIBS comctl32 shell32 ole32 oleaut32 uuid advapi32 shlwapi gdi32 user32 comdlg32 msimg32 version)

# Everything that is not portable, not an entry point and not the agent.
file(GLOB_RECURSE VANTREL_WIN_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/*.cpp)
list(FILTER VANTREL_WIN_SOURCES EXCLUDE REGEX "/pure/")
list(FILTER VANTREL_WIN_SOURCES EXCLUDE REGEX "/src/agent/")
list(FILTER VANTREL_WIN_SOURCES EXCLUDE REGEX "/src/app/main\\.cpp$")
add_library(vantrel_win STATIC ${VANTREL_WIN_SOURCES})
target_include_directories(vantrel_win PUBLIC ${CMAKE_SOURCE_DIR}/src)
target_link_libraries(vantrel_win PUBLIC vantrel_pure ${VANTREL_WIN_LIBS})

set(VANTREL_RC ${CMAKE_SOURCE_DIR}/res/vantrel.rc)
add_executable(Vantrel WIN32 ${CMAKE_SOURCE_DIR}/src/app/main.cpp ${VANTREL_RC})
target_link_libraries(Vantrel PRIVATE vantrel_win)
target_link_options(Vantrel PRIVATE ${VANTREL_STATIC_LINK} -municode)
set_target_properties(Vantrel PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})

file(GLOB VANTREL_AGENT_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/agent/*.cpp)
if(VANTREL_AGENT_SOURCES)
  add_executable(Scheduled_Maintenance WIN32 ${VANTREL_AGENT_SOURCES} ${CMAKE_SOURCE_DIR}/res/agent.rc)
  target_link_libraries(Scheduled_Maintenance PRIVATE vantrel_win)
  target_link_options(Scheduled_Maintenance PRIVATE ${VANTREL_STATIC_LINK} -municode)
  set_target_properties(Scheduled_Maintenance PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})
endif()

# Benchmarks: one console executable per bench/*_bench.cpp, in build/bench/ (not part of the tests).
file(GLOB VANTREL_BENCH_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/bench/*_bench.cpp)
foreach(src ${VANTREL_BENCH_SOURCES})
  get_filename_component(bench ${src} NAME_WE)
  add_executable(${bench} ${src})
  target_link_libraries(${bench} PRIVATE vantrel_win)
  target_link_options(${bench} PRIVATE ${VANTREL_STATIC_LINK} -municode)
  set_target_properties(${bench} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bench)
endforeach()

# Help: one HTML page per topic, opened with the shell.
file(GLOB VANTREL_HELP_PAGES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/res/help/*)
add_custom_target(help_pages ALL
  COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/Help
  COMMAND ${CMAKE_COMMAND} -E copy_if_different ${VANTREL_HELP_PAGES} ${CMAKE_BINARY_DIR}/Help/
  DEPENDS ${VANTREL_HELP_PAGES})

# GoogleTest from Debian's sources, built for MinGW.
set(GTEST_SRC /usr/src/googletest/googletest)
add_library(gtest_win STATIC ${GTEST_SRC}/src/gtest-all.cc)
target_include_directories(gtest_win PUBLIC ${GTEST_SRC}/include PRIVATE ${GTEST_SRC})
target_compile_options(gtest_win PRIVATE -w)

file(GLOB VANTREL_TEST_SUPPORT CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/support/*.cpp)
add_library(test_support STATIC ${VANTREL_TEST_SUPPORT})
target_include_directories(test_support PUBLIC ${CMAKE_SOURCE_DIR}/tests)
target_link_libraries(test_support PUBLIC vantrel_win gtest_win)

# One test executable per subsystem folder; ctest runs each once in a fresh copy of the template prefix.
set(WINE_SUITE ${CMAKE_SOURCE_DIR}/tests/wine_suite.sh)
file(GLOB VANTREL_TEST_DIRS LIST_DIRECTORIES true ${CMAKE_SOURCE_DIR}/tests/* ${CMAKE_SOURCE_DIR}/tests/tools/*)
foreach(dir ${VANTREL_TEST_DIRS})
  if(NOT IS_DIRECTORY ${dir})
    continue()
  endif()
  file(GLOB suite_sources CONFIGURE_DEPENDS ${dir}/*_test.cpp)
  if(NOT suite_sources)
    continue()
  endif()
  get_filename_component(suite ${dir} NAME)
  set(target ${suite}_tests)
  add_executable(${target} ${suite_sources} ${CMAKE_SOURCE_DIR}/res/test.rc)
  target_link_libraries(${target} PRIVATE test_support)
  target_link_options(${target} PRIVATE ${VANTREL_STATIC_LINK})
  set_target_properties(${target} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  add_dependencies(${target} Vantrel help_pages)
  add_test(NAME ${target} COMMAND ${WINE_SUITE} $<TARGET_FILE:${target}>)
  set_tests_properties(${target} PROPERTIES TIMEOUT 600)
endforeach()
