# What `cmake --install <build> --prefix P` puts where: the program and the template it copies in
# P/bin (the program looks for the template beside itself), the library in P/lib with its
# version, its header in P/include, its pkg-config file and the desktop entry.
include(GNUInstallDirs)

# The library's version, read from the one place that holds it: the number TAVU gives.
file(STRINGS ${PROJECT_SOURCE_DIR}/geolib/src/core/Services.h tavu_version_line
     REGEX "kVersion = [0-9]+;")
string(REGEX MATCH "kVersion = ([0-9]+)" tavu_version_match "${tavu_version_line}")
set(TAVU_VERSION_NUMBER "${CMAKE_MATCH_1}")
if(NOT TAVU_VERSION_NUMBER)
  message(FATAL_ERROR "No kVersion in geolib/src/core/Services.h: the library's version is read from it")
endif()
set(TAVU_SOVERSION 1)
set_target_properties(tavu32d PROPERTIES
  SOVERSION ${TAVU_SOVERSION} VERSION ${TAVU_SOVERSION}.0.${TAVU_VERSION_NUMBER})

install(TARGETS tavu32d LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR})
install(FILES ${PROJECT_BINARY_DIR}/geolib/generated/tavu32d.h DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})
if(TAVU_DLL_i686)
  install(FILES ${TAVU_DLL_i686} DESTINATION ${CMAKE_INSTALL_LIBDIR}/windows)
endif()

# Files that name the prefix are made when installing, so that --prefix counts.
function(ostrel_install_configured template destination)
  get_filename_component(name ${template} NAME_WLE)
  set(out ${CMAKE_CURRENT_BINARY_DIR}/install/${name})
  install(CODE "
    set(prefix \"\${CMAKE_INSTALL_PREFIX}\")
    set(bindir \"${CMAKE_INSTALL_BINDIR}\")
    set(libdir \"${CMAKE_INSTALL_LIBDIR}\")
    set(includedir \"${CMAKE_INSTALL_INCLUDEDIR}\")
    set(version \"${TAVU_SOVERSION}.0.${TAVU_VERSION_NUMBER}\")
    configure_file(\"${template}\" \"${out}\" @ONLY)")
  install(FILES ${out} DESTINATION ${destination})
endfunction()
ostrel_install_configured(${PROJECT_SOURCE_DIR}/cmake/tavu32d.pc.in ${CMAKE_INSTALL_LIBDIR}/pkgconfig)

if(OSTREL_BUILD_APP)
  install(TARGETS Ostrel_Kolv_An RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  install(FILES ${OSTREL_TEMPLATE_DB} DESTINATION ${CMAKE_INSTALL_BINDIR})
  ostrel_install_configured(${PROJECT_SOURCE_DIR}/cmake/ostrel-kolv-analog.desktop.in
                            ${CMAKE_INSTALL_DATADIR}/applications)
endif()
