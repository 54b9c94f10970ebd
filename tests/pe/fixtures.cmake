# Executables the image reader's tests read, built from tests/pe/fixtures with
# the cross compilers, the resource compiler, a second linker and the C#
# compiler, plus a 16-bit font file from the distribution. Every fixture whose tool is missing
# is left out, and the tests that need it skip. Time stamps are left out of the
# images and the build id is fixed, so the files come out the same every time
# (the C# compiler alone stamps a fresh module id).

set(pe_fixture_dir ${CMAKE_BINARY_DIR}/fixtures/pe)
set(pe_fixture_src ${CMAKE_SOURCE_DIR}/tests/pe/fixtures)
file(MAKE_DIRECTORY ${pe_fixture_dir})
set(pe_fixtures)

foreach(arch i686 x86_64)
  if(arch STREQUAL "i686")
    set(bits 32)
  else()
    set(bits 64)
  endif()
  find_program(pe_gcc_${bits} ${arch}-w64-mingw32-gcc)
  find_program(pe_windres_${bits} ${arch}-w64-mingw32-windres)
  find_program(pe_dlltool_${bits} ${arch}-w64-mingw32-dlltool)
  if(NOT pe_gcc_${bits} OR NOT pe_windres_${bits} OR NOT pe_dlltool_${bits})
    continue()
  endif()
  set(gcc ${pe_gcc_${bits}})
  set(no_stamp -Wl,--no-insert-timestamp)
  add_custom_command(
    OUTPUT ${pe_fixture_dir}/fixturelib${bits}.dll ${pe_fixture_dir}/libfixturelib${bits}.a
    COMMAND ${gcc} -O1 -shared -o fixturelib${bits}.dll ${pe_fixture_src}/fixturelib.c
            ${pe_fixture_src}/fixturelib.def ${no_stamp}
    COMMAND ${pe_dlltool_${bits}} -d ${pe_fixture_src}/fixturelib.def -l libfixturelib${bits}.a
    DEPENDS ${pe_fixture_src}/fixturelib.c ${pe_fixture_src}/fixturelib.def
    WORKING_DIRECTORY ${pe_fixture_dir}
    VERBATIM)
  add_custom_command(
    OUTPUT ${pe_fixture_dir}/fixtureapp${bits}.exe
    COMMAND ${pe_windres_${bits}} ${pe_fixture_src}/fixtureapp.rc -O coff -o fixtureapp${bits}.res
    COMMAND ${gcc} -O1 -o fixtureapp${bits}.exe ${pe_fixture_src}/fixtureapp.c fixtureapp${bits}.res
            -L. -lfixturelib${bits} ${no_stamp} -Wl,--build-id=0x00112233445566778899aabbccddeeff
    DEPENDS ${pe_fixture_src}/fixtureapp.c ${pe_fixture_src}/fixtureapp.rc
            ${pe_fixture_dir}/libfixturelib${bits}.a
    WORKING_DIRECTORY ${pe_fixture_dir}
    VERBATIM)
  list(APPEND pe_fixtures ${pe_fixture_dir}/fixturelib${bits}.dll ${pe_fixture_dir}/fixtureapp${bits}.exe)
endforeach()

# Load configuration and delay imports, from the second linker; the
# delay-loaded library's import library is made in the short form that linker
# can delay-load.
find_program(pe_clang clang)
find_program(pe_llvm_dlltool llvm-dlltool)
if(pe_clang AND pe_llvm_dlltool AND pe_gcc_64)
  execute_process(COMMAND ${pe_gcc_64} -print-libgcc-file-name OUTPUT_VARIABLE pe_libgcc
                  OUTPUT_STRIP_TRAILING_WHITESPACE)
  get_filename_component(pe_libgcc_dir "${pe_libgcc}" DIRECTORY)
  add_custom_command(
    OUTPUT ${pe_fixture_dir}/delayapp64.exe
    COMMAND ${pe_llvm_dlltool} -m i386:x86-64 -d ${pe_fixture_src}/user32delay.def -l libuser32delay.a
    COMMAND ${pe_clang} --target=x86_64-w64-mingw32 -fuse-ld=lld -L${pe_libgcc_dir} -o delayapp64.exe
            ${pe_fixture_src}/delayapp.c libuser32delay.a -Wl,--delayload=user32.dll ${no_stamp}
    DEPENDS ${pe_fixture_src}/delayapp.c ${pe_fixture_src}/user32delay.def
    WORKING_DIRECTORY ${pe_fixture_dir}
    VERBATIM)
  list(APPEND pe_fixtures ${pe_fixture_dir}/delayapp64.exe)
endif()

find_program(pe_mcs mcs)
if(pe_mcs)
  add_custom_command(
    OUTPUT ${pe_fixture_dir}/hello.exe
    COMMAND ${pe_mcs} -nologo -out:hello.exe ${pe_fixture_src}/hello.cs
    DEPENDS ${pe_fixture_src}/hello.cs
    WORKING_DIRECTORY ${pe_fixture_dir}
    VERBATIM)
  list(APPEND pe_fixtures ${pe_fixture_dir}/hello.exe)
endif()

# A 16-bit (NE) font file as the distribution ships it.
set(pe_font_file /usr/share/wine/fonts/coure.fon)
if(EXISTS ${pe_font_file})
  add_custom_command(
    OUTPUT ${pe_fixture_dir}/coure.fon
    COMMAND ${CMAKE_COMMAND} -E copy ${pe_font_file} ${pe_fixture_dir}/coure.fon
    DEPENDS ${pe_font_file}
    VERBATIM)
  list(APPEND pe_fixtures ${pe_fixture_dir}/coure.fon)
endif()

if(TARGET pe_tests)
  add_custom_target(pe_fixtures ALL DEPENDS ${pe_fixtures})
  add_dependencies(pe_tests pe_fixtures)
  if(WIN32)
    # The Windows tests run where the build folder is seen on drive Z:.
    string(REPLACE "/" "\\\\" pe_fixture_dir_windows "Z:${pe_fixture_dir}")
    target_compile_definitions(pe_tests PRIVATE "KST_PE_FIXTURES=\"${pe_fixture_dir_windows}\\\\\"")
  else()
    target_compile_definitions(pe_tests PRIVATE "KST_PE_FIXTURES=\"${pe_fixture_dir}/\"")
  endif()
endif()
