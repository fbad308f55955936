# The API reference: Doxygen (Debian package doxygen) over the installed headers, built by
# the `docs` target into build/docs/reference/html. Not part of `all`. Doxygen stops with a
# failure on any warning, an undocumented public name included (docs/reference/Doxyfile.in).
find_program(ADVICEPATH_DOXYGEN doxygen)
if(NOT ADVICEPATH_DOXYGEN)
  message(STATUS "doxygen not found: no docs target (scripts/bootstrap.sh installs it)")
  return()
endif()

set(ADVICEPATH_DOCS_OUTPUT ${PROJECT_BINARY_DIR}/docs/reference)
set(_docs_headers include/advicepathrenderex.h ${ADVICEPATH_PUBLIC_OUTSIDE_HEADERS})
list(TRANSFORM _docs_headers PREPEND "${PROJECT_SOURCE_DIR}/")
list(JOIN _docs_headers " " ADVICEPATH_DOCS_INPUT)
configure_file(${PROJECT_SOURCE_DIR}/docs/reference/Doxyfile.in
               ${ADVICEPATH_DOCS_OUTPUT}/Doxyfile @ONLY)

add_custom_target(docs
  COMMAND ${CMAKE_COMMAND} -E make_directory ${ADVICEPATH_DOCS_OUTPUT}
  COMMAND ${ADVICEPATH_DOXYGEN} ${ADVICEPATH_DOCS_OUTPUT}/Doxyfile
  WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
  DEPENDS ${_docs_headers} ${PROJECT_SOURCE_DIR}/docs/reference/Doxyfile.in
          ${PROJECT_SOURCE_DIR}/docs/reference/comments.sed
          ${PROJECT_SOURCE_DIR}/docs/reference/mainpage.md
  COMMENT "API reference (Doxygen) in ${ADVICEPATH_DOCS_OUTPUT}/html"
  VERBATIM)
