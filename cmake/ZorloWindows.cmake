# Settings for the Windows build (native Win32 front end), included by the top
# level when WIN32. The Linux build never reads this file.

if(ZORLO_BUILD_GUI)
  message(STATUS "Windows build: the Qt front end is replaced by the native Win32 one")
  set(ZORLO_BUILD_GUI OFF CACHE BOOL "Build the Qt desktop console" FORCE)
endif()

enable_language(RC)

# All programs side by side, so the tests find zorlo.exe and their helper programs.
set(CMAKE_RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)

set(ZORLO_REDIRECTS ${CMAKE_BINARY_DIR}/zorlo-packages)
file(MAKE_DIRECTORY ${ZORLO_REDIRECTS})

if(CMAKE_CROSSCOMPILING)
  # Header-only nlohmann_json from the host works for any target; only its
  # headers are copied, so the host's /usr/include never reaches the mingw compiler.
  find_path(ZORLO_HOST_NLOHMANN nlohmann/json.hpp PATHS /usr/include NO_CMAKE_FIND_ROOT_PATH
            NO_DEFAULT_PATH)
  if(ZORLO_HOST_NLOHMANN AND NOT TARGET nlohmann_json::nlohmann_json)
    file(COPY ${ZORLO_HOST_NLOHMANN}/nlohmann DESTINATION ${ZORLO_REDIRECTS}/include)
    file(WRITE ${ZORLO_REDIRECTS}/nlohmann_jsonConfig.cmake
         "if(NOT TARGET nlohmann_json::nlohmann_json)\n"
         "  add_library(nlohmann_json::nlohmann_json INTERFACE IMPORTED)\n"
         "  set_target_properties(nlohmann_json::nlohmann_json PROPERTIES\n"
         "    INTERFACE_INCLUDE_DIRECTORIES ${ZORLO_REDIRECTS}/include)\n"
         "endif()\n")
    file(WRITE ${ZORLO_REDIRECTS}/nlohmann_jsonConfigVersion.cmake
         "set(PACKAGE_VERSION 3.11.2)\n"
         "set(PACKAGE_VERSION_COMPATIBLE TRUE)\n")
    set(nlohmann_json_DIR ${ZORLO_REDIRECTS} CACHE PATH "" FORCE)
  endif()
endif()

if(ZORLO_BUILD_TESTS AND NOT TARGET GTest::gtest)
  # GoogleTest built from Debian's source package with the cross compiler.
  set(ZORLO_GTEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest sources")
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
  add_subdirectory(${ZORLO_GTEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
  foreach(lib gtest gtest_main gmock gmock_main)
    # Third-party code: its warnings are not ours to turn into errors.
    set_target_properties(${lib} PROPERTIES COMPILE_OPTIONS "-w")
    if(NOT TARGET GTest::${lib})
      add_library(GTest::${lib} ALIAS ${lib})
    endif()
  endforeach()
  file(WRITE ${ZORLO_REDIRECTS}/GTestConfig.cmake "# targets come from ${ZORLO_GTEST_SOURCE}\n")
  set(GTest_DIR ${ZORLO_REDIRECTS} CACHE PATH "" FORCE)
  # The test programs run under wine; list their cases when ctest runs, not at build time.
  set(CMAKE_GTEST_DISCOVER_TESTS_DISCOVERY_MODE PRE_TEST)
endif()
