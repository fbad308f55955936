# Installation: headers, the two shared libraries, the advicepath program, a CMake package
# (advicepathrender::advicepathrender, advicepathrender::outside) and a pkg-config file, in
# the GNU directories under CMAKE_INSTALL_PREFIX.
include(CMakePackageConfigHelpers)

set(ADVICEPATH_CMAKE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/advicepathrender)

# Installed libraries find each other beside themselves; the program finds them in ../lib.
set_target_properties(advicepathrender advicepath_outside PROPERTIES INSTALL_RPATH "$ORIGIN")
set_target_properties(advicepath_outside PROPERTIES EXPORT_NAME outside)

install(TARGETS advicepathrender advicepath_outside
  EXPORT advicepathrenderTargets
  LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT runtime NAMELINK_COMPONENT devel
  RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT runtime)
install(FILES include/advicepathrenderex.h
  DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/advicepathrender COMPONENT devel)
# The outside-service headers a host includes; the API reference covers the same list.
set(ADVICEPATH_PUBLIC_OUTSIDE_HEADERS
  source/outside/geodesy.h
  source/outside/guide.h
  source/outside/logging.h
  source/outside/lonlat.h
  source/outside/mapservice.h
  source/outside/memstatus.h
  source/outside/path.h
  source/outside/route.h)
install(FILES ${ADVICEPATH_PUBLIC_OUTSIDE_HEADERS}
  DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/advicepathrender/outside COMPONENT devel)

if(TARGET advicepath)
  file(RELATIVE_PATH _bin_to_lib "${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}"
       "${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_LIBDIR}")
  set_target_properties(advicepath PROPERTIES INSTALL_RPATH "$ORIGIN/${_bin_to_lib}")
  install(TARGETS advicepath RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT program)
endif()

install(EXPORT advicepathrenderTargets
  NAMESPACE advicepathrender::
  DESTINATION ${ADVICEPATH_CMAKE_DIR} COMPONENT devel)
configure_package_config_file(cmake/advicepathrenderConfig.cmake.in
  ${CMAKE_CURRENT_BINARY_DIR}/advicepathrenderConfig.cmake
  INSTALL_DESTINATION ${ADVICEPATH_CMAKE_DIR})
write_basic_package_version_file(
  ${CMAKE_CURRENT_BINARY_DIR}/advicepathrenderConfigVersion.cmake
  COMPATIBILITY SameMajorVersion)
install(FILES
  ${CMAKE_CURRENT_BINARY_DIR}/advicepathrenderConfig.cmake
  ${CMAKE_CURRENT_BINARY_DIR}/advicepathrenderConfigVersion.cmake
  DESTINATION ${ADVICEPATH_CMAKE_DIR} COMPONENT devel)

# pkg-config: the prefix is fixed at configure time, so install into the prefix configured.
# The file is written at install time so that `cmake --install --prefix DIR` points at DIR.
install(CODE "
  set(CMAKE_INSTALL_PREFIX \"\${CMAKE_INSTALL_PREFIX}\")
  set(CMAKE_INSTALL_LIBDIR \"${CMAKE_INSTALL_LIBDIR}\")
  set(CMAKE_INSTALL_INCLUDEDIR \"${CMAKE_INSTALL_INCLUDEDIR}\")
  set(PROJECT_DESCRIPTION \"${PROJECT_DESCRIPTION}\")
  set(PROJECT_VERSION \"${PROJECT_VERSION}\")
  configure_file(\"${PROJECT_SOURCE_DIR}/cmake/advicepathrender.pc.in\"
                 \"${CMAKE_CURRENT_BINARY_DIR}/advicepathrender.pc\" @ONLY)
  file(INSTALL \"${CMAKE_CURRENT_BINARY_DIR}/advicepathrender.pc\"
       DESTINATION \"\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_LIBDIR}/pkgconfig\")
" COMPONENT devel)
