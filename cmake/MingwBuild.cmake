# Cross builds through the mingw toolchain files beside this file, driven by the native build as
# external projects that run on every build: each compiles only what changed since the last.
include_guard(GLOBAL)
include(ExternalProject)

option(OSTREL_BUILD_WINDOWS "Cross-build the Windows libraries and their test caller" ON)
set(OSTREL_MINGW_JOBS "" CACHE STRING "Parallel jobs of each Windows build (empty: the build tool's choice)")

# ostrel_mingw_build(<name> <triple> SOURCE <folder> BINARY <folder> OUTPUT <file>
#                    [CMAKE_ARGS <arg>...] [DEPENDS <target>...])
# Builds the CMake project in SOURCE with cmake/<triple>.cmake into BINARY; OUTPUT is the file it
# makes. Sets <name>_FOUND in the caller when Windows builds are on and the triple's compiler is
# installed, and only then adds the target <name>.
function(ostrel_mingw_build name triple)
  cmake_parse_arguments(PARSE_ARGV 2 arg "" "SOURCE;BINARY;OUTPUT" "CMAKE_ARGS;DEPENDS")
  find_program(MINGW_CXX_${triple} ${triple}-g++)
  if(NOT OSTREL_BUILD_WINDOWS OR NOT MINGW_CXX_${triple})
    set(${name}_FOUND FALSE PARENT_SCOPE)
    return()
  endif()
  set(jobs)
  if(OSTREL_MINGW_JOBS)
    set(jobs -j${OSTREL_MINGW_JOBS})
  endif()
  ExternalProject_Add(${name}
    SOURCE_DIR ${arg_SOURCE}
    BINARY_DIR ${arg_BINARY}
    CMAKE_ARGS -DCMAKE_TOOLCHAIN_FILE=${CMAKE_CURRENT_FUNCTION_LIST_DIR}/${triple}.cmake
               -DCMAKE_BUILD_TYPE=Release -DOSTREL_WERROR=${OSTREL_WERROR} ${arg_CMAKE_ARGS}
    BUILD_COMMAND ${CMAKE_COMMAND} --build <BINARY_DIR> ${jobs}
    BUILD_ALWAYS ON
    INSTALL_COMMAND ""
    DEPENDS ${arg_DEPENDS}
    BUILD_BYPRODUCTS ${arg_OUTPUT})
  set(${name}_FOUND TRUE PARENT_SCOPE)
endfunction()
