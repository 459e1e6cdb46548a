# Language level, warnings and sanitizers of every build: the project's, and the library's own
# when it is built alone or cross-built for Windows.
set(CMAKE_CXX_STANDARD 20)
set(CMAKE_CXX_STANDARD_REQUIRED ON)
set(CMAKE_CXX_EXTENSIONS OFF)
set(CMAKE_EXPORT_COMPILE_COMMANDS ON)

option(OSTREL_WERROR "Treat warnings as errors" ON)
option(OSTREL_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)

add_compile_options(-Wall -Wextra -Wpedantic -Wshadow -Wconversion -Wno-sign-conversion
                    -ffp-contract=off)
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
  # GCC 12 reports string concatenation as overlapping copies at -O2 and above (its bug 105651).
  add_compile_options(-Wno-restrict)
endif()
if(OSTREL_WERROR)
  add_compile_options(-Werror)
endif()
if(OSTREL_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=undefined
                      -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()
