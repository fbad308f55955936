# Debian packages: `cpack -G DEB` in a build configured with -DCMAKE_INSTALL_PREFIX=/usr
# (scripts/dist_build.sh), which puts the libraries in the multiarch directory:
#   libadvicepathrender1     the two shared libraries, libadvicepathrender.so.1 and
#                            libadvicepathoutside.so.1 (install component runtime)
#   libadvicepathrender-dev  headers, the .so links, the CMake package, the pkg-config file
#                            (component devel)
#   advicepath               the command-line program (component program)
# The binaries' dependencies come from dpkg-shlibdeps (Debian packages dpkg-dev and file);
# the development files' are written out: log4cpp's headers and pkg-config, which the CMake
# package and the pkg-config file both use. The packages of one build depend on each other
# at the exact version. The runtime package has a shlibs file and an ldconfig trigger (CPack
# adds postinst and postrm scripts that call ldconfig as well). scripts/package_test.sh
# builds the packages, installs them into an empty root and builds the examples against
# them.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME advicepathrender)
set(CPACK_PACKAGE_VENDOR "advicepathrender developers")
set(CPACK_PACKAGE_CONTACT "advicepathrender developers <advicepathrender@invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${PROJECT_DESCRIPTION}")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_STRIP_FILES ON)

set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL runtime devel)
if(TARGET advicepath)
  list(APPEND CPACK_COMPONENTS_ALL program)
endif()
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS
    "${PROJECT_BINARY_DIR}/source/render" "${PROJECT_BINARY_DIR}/source/outside")
set(CPACK_DEBIAN_ENABLE_COMPONENT_DEPENDS ON)
# A shlibs file for the package that holds shared libraries: packages built against them
# depend on libadvicepathrender1 (>= the version they were built with).
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS ON)
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS_POLICY ">=")

# The runtime libraries: the package name carries the so-name's major version, as Debian's
# library packages do, so that a new so-name installs beside the old one.
set(CPACK_DEBIAN_RUNTIME_PACKAGE_NAME "libadvicepathrender${PROJECT_VERSION_MAJOR}")
set(CPACK_DEBIAN_RUNTIME_PACKAGE_SECTION libs)
set(_triggers "${PROJECT_BINARY_DIR}/cpack/runtime/triggers")
file(WRITE "${_triggers}" "activate-noawait ldconfig\n")
set(CPACK_DEBIAN_RUNTIME_PACKAGE_CONTROL_EXTRA "${_triggers}")
set(CPACK_DEBIAN_RUNTIME_PACKAGE_CONTROL_STRICT_PERMISSION TRUE)
set(CPACK_DEBIAN_RUNTIME_DESCRIPTION "route-guidance renderer (shared libraries)
 Draws the route polyline, the big turn arrow at the next manoeuvre and an
 origin-to-destination line on a host's map view. libadvicepathrender is the
 renderer; libadvicepathoutside holds the path, route, geodesy, map-view and
 logging services it calls, which a host may replace with its own.")

set(CPACK_DEBIAN_DEVEL_PACKAGE_NAME libadvicepathrender-dev)
set(CPACK_DEBIAN_DEVEL_PACKAGE_SECTION libdevel)
set(CPACK_DEBIAN_DEVEL_PACKAGE_DEPENDS "liblog4cpp5-dev, pkgconf | pkg-config")
set(CPACK_COMPONENT_DEVEL_DEPENDS runtime)
set(CPACK_DEBIAN_DEVEL_DESCRIPTION "route-guidance renderer (development files)
 The headers of the route-guidance renderer and of its outside services, the
 CMake package (find_package(advicepathrender)) and the pkg-config file.")

set(CPACK_DEBIAN_PROGRAM_PACKAGE_NAME advicepath)
set(CPACK_DEBIAN_PROGRAM_PACKAGE_SECTION graphics)
set(CPACK_COMPONENT_PROGRAM_DEPENDS runtime)
set(CPACK_DEBIAN_PROGRAM_DESCRIPTION "draws routes and turn arrows with the route-guidance renderer
 Renders a route file's frames into PNG or SVG pictures and contact sheets, and
 audits a size table and colours against a route.")

include(CPack)
