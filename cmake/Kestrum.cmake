# Shared build rules: every library is one folder under src/, every test
# program one folder under tests/, so adding a source file needs no edit here.

function(kst_warnings target)
  # C and C++ only: resource scripts of the same target go to the resource compiler.
  target_compile_options(${target} PRIVATE $<$<COMPILE_LANGUAGE:C,CXX>:-Wall -Wextra -Wnon-virtual-dtor>)
  if(KST_WERROR)
    target_compile_options(${target} PRIVATE $<$<COMPILE_LANGUAGE:C,CXX>:-Werror>)
    # Version 12 of the compiler, optimising at its highest level, inlines the
    # standard library's string and vector code and then reports overlapping
    # copies and unset values that cannot occur there. In an optimised build
    # they stay warnings that are shown; they do not stop the build.
    if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_GREATER_EQUAL 12
       AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
      target_compile_options(${target} PRIVATE
        $<$<AND:$<COMPILE_LANGUAGE:CXX>,$<CONFIG:Release>>:-Wno-error=restrict -Wno-error=maybe-uninitialized>)
    endif()
  endif()
endfunction()

function(kst_platform_options target)
  if(WIN32)
    target_compile_definitions(${target} PUBLIC UNICODE _UNICODE NOMINMAX WIN32_LEAN_AND_MEAN _WIN32_WINNT=0x0601)
    # Batched sources exceed the 32,767 sections of a plain COFF object.
    target_compile_options(${target} PRIVATE $<$<COMPILE_LANGUAGE:C,CXX>:-Wa,-mbig-obj>)
  endif()
  if(KST_SANITIZE OR KST_FUZZ)
    target_compile_options(${target} PUBLIC -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
    target_link_options(${target} PUBLIC -fsanitize=address,undefined)
  endif()
  if(KST_TSAN)
    target_compile_options(${target} PUBLIC -fsanitize=thread)
    target_link_options(${target} PUBLIC -fsanitize=thread)
  endif()
  if(KST_FUZZ)
    target_compile_options(${target} PUBLIC -fsanitize=fuzzer-no-link)
  endif()
endfunction()

# Sources of src/<name>/*.cpp; on Windows also src/<name>/win32/*.cpp, elsewhere
# src/<name>/posix/*.cpp, which hold the few platform hooks a portable library has.
function(kst_add_library name)
  cmake_parse_arguments(ARG "" "" "DEPS;SYSTEM_LIBS" ${ARGN})
  list(APPEND ARG_DEPS ${ARG_SYSTEM_LIBS})
  set(dir ${CMAKE_SOURCE_DIR}/src/${name})
  file(GLOB sources CONFIGURE_DEPENDS ${dir}/*.cpp)
  # A program's entry belongs to the program, not to its library.
  list(FILTER sources EXCLUDE REGEX "/main\\.cpp$")
  if(WIN32)
    file(GLOB platform_sources CONFIGURE_DEPENDS ${dir}/win32/*.cpp)
  else()
    file(GLOB platform_sources CONFIGURE_DEPENDS ${dir}/posix/*.cpp)
  endif()
  if(NOT sources AND NOT platform_sources)
    # Not written yet (or headers only): still a target others can link.
    add_library(kst_${name} INTERFACE)
    target_include_directories(kst_${name} INTERFACE ${CMAKE_SOURCE_DIR}/src)
    target_link_libraries(kst_${name} INTERFACE ${ARG_DEPS})
    return()
  endif()
  add_library(kst_${name} STATIC ${sources} ${platform_sources})
  # Compiled in batches: the libraries' headers dominate a build from scratch,
  # which is what CI pays on every run.
  set_target_properties(kst_${name} PROPERTIES UNITY_BUILD ${KST_UNITY} UNITY_BUILD_BATCH_SIZE 16)
  if(name STREQUAL "rtl" AND platform_sources)
    # The run-time library names its file routines as <windows.h> names its
    # macros (DeleteFile): its system files must not follow a file that
    # undid those macros in the same batch.
    set_source_files_properties(${platform_sources} PROPERTIES SKIP_UNITY_BUILD_INCLUSION ON)
  endif()
  target_include_directories(kst_${name} PUBLIC ${CMAKE_SOURCE_DIR}/src)
  target_link_libraries(kst_${name} PUBLIC ${ARG_DEPS})
  kst_warnings(kst_${name})
  kst_platform_options(kst_${name})
endfunction()

# One test program per folder under tests/; on Windows also tests/<name>/win32/*.cpp.
function(kst_add_tests name)
  cmake_parse_arguments(ARG "" "" "LIBS" ${ARGN})
  set(dir ${CMAKE_SOURCE_DIR}/tests/${name})
  file(GLOB sources CONFIGURE_DEPENDS ${dir}/*.cpp)
  if(WIN32)
    file(GLOB platform_sources CONFIGURE_DEPENDS ${dir}/win32/*.cpp)
  endif()
  if(NOT sources AND NOT platform_sources)
    return()
  endif()
  add_executable(${name}_tests ${sources} ${platform_sources})
  target_include_directories(${name}_tests PRIVATE ${CMAKE_SOURCE_DIR}/tests)
  target_link_libraries(${name}_tests PRIVATE ${ARG_LIBS} kst_test_support GTest::gtest_main GTest::gmock)
  kst_warnings(${name}_tests)
  kst_platform_options(${name}_tests)
  # Each program writes its results to a report the test script sums up.
  add_test(NAME ${name} COMMAND ${name}_tests --gtest_output=xml:reports/${name}.xml)
  set_tests_properties(${name} PROPERTIES WORKING_DIRECTORY ${CMAKE_BINARY_DIR})
endfunction()

# One libFuzzer program per fuzz/<name>.cpp.
function(kst_add_fuzzer name)
  cmake_parse_arguments(ARG "" "" "LIBS" ${ARGN})
  add_executable(fuzz_${name} ${CMAKE_SOURCE_DIR}/fuzz/${name}.cpp)
  target_link_libraries(fuzz_${name} PRIVATE ${ARG_LIBS})
  target_link_options(fuzz_${name} PRIVATE -fsanitize=fuzzer)
  kst_warnings(fuzz_${name})
  kst_platform_options(fuzz_${name})
endfunction()

function(kst_add_benchmark name)
  cmake_parse_arguments(ARG "" "" "LIBS" ${ARGN})
  add_executable(bench_${name} ${CMAKE_SOURCE_DIR}/bench/${name}.cpp)
  target_link_libraries(bench_${name} PRIVATE ${ARG_LIBS} benchmark::benchmark)
  kst_warnings(bench_${name})
  kst_platform_options(bench_${name})
endfunction()

# libjpeg: the distribution's library natively; for Windows the static build
# that scripts/setup.sh makes from the distribution's own source package.
function(kst_find_jpeg)
  if(WIN32)
    set(prefix ${KST_CACHE}/mingw-libjpeg-turbo)
    if(NOT EXISTS ${prefix}/lib/libjpeg.a)
      message(FATAL_ERROR "libjpeg for MinGW is missing in ${prefix}: run scripts/setup.sh")
    endif()
    add_library(kst_jpeg STATIC IMPORTED GLOBAL)
    set_target_properties(kst_jpeg PROPERTIES
      IMPORTED_LOCATION ${prefix}/lib/libjpeg.a
      INTERFACE_INCLUDE_DIRECTORIES ${prefix}/include)
  else()
    find_package(JPEG REQUIRED)
    add_library(kst_jpeg INTERFACE IMPORTED GLOBAL)
    target_link_libraries(kst_jpeg INTERFACE JPEG::JPEG)
  endif()
endfunction()

# Tools that run on the build machine while the Windows build is made (the
# form converter): a native build of the portable libraries they need,
# configured from this same source tree with KST_HOST_TOOLS_ONLY.
function(kst_add_host_tools)
  include(ExternalProject)
  set(dir ${CMAKE_BINARY_DIR}/host-tools)
  set(KST_DFM2BIN ${dir}/dfm2bin${CMAKE_HOST_EXECUTABLE_SUFFIX} CACHE INTERNAL "The native form converter")
  ExternalProject_Add(kst_host_tools
    SOURCE_DIR ${CMAKE_SOURCE_DIR}
    BINARY_DIR ${dir}
    CMAKE_ARGS -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_C_COMPILER=gcc -DCMAKE_CXX_COMPILER=g++ -DKST_HOST_TOOLS_ONLY=ON
               -DKST_WERROR=${KST_WERROR}
    BUILD_COMMAND ${CMAKE_COMMAND} --build ${dir} --target dfm2bin
    INSTALL_COMMAND ""
    BUILD_ALWAYS ON
    BUILD_BYPRODUCTS ${KST_DFM2BIN})
endfunction()

# Links text form files into a target as RCDATA resources named after each
# form's class in upper case, converted to the binary encoding by our own
# converter at build time.
function(kst_add_form_resources target)
  set(outdir ${CMAKE_CURRENT_BINARY_DIR}/forms/${target})
  foreach(dfm ${ARGN})
    get_filename_component(source ${dfm} ABSOLUTE)
    get_filename_component(stem ${dfm} NAME_WE)
    set(binary ${outdir}/${stem}.bin)
    set(script ${outdir}/${stem}.rc)
    add_custom_command(OUTPUT ${binary} ${script}
      COMMAND ${CMAKE_COMMAND} -E make_directory ${outdir}
      COMMAND ${KST_DFM2BIN} ${source} ${binary} ${script}
      DEPENDS ${source} kst_host_tools ${KST_DFM2BIN}
      COMMENT "Converting the form ${stem}"
      VERBATIM)
    target_sources(${target} PRIVATE ${script})
  endforeach()
endfunction()
