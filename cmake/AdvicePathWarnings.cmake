# advicepath_target_defaults(<target>): the compile settings every target of ours shares.
#  - the warning set, promoted to errors when ADVICEPATH_WERROR is on (CI builds);
#  - __FILE__ relative to the project root, so that log lines name "source/render/..." and
#    never the build machine's checkout path.
# Third-party code never passes through here, so its warnings stay its own.
function(advicepath_target_defaults target)
  target_compile_options(${target} PRIVATE
    -Wall -Wextra -Wpedantic -Wshadow -Wconversion -Wno-sign-conversion
    -Wnon-virtual-dtor -Wold-style-cast -Wcast-align -Wformat=2 -Wnull-dereference
    "-fmacro-prefix-map=${PROJECT_SOURCE_DIR}/=")
  if(ADVICEPATH_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()
