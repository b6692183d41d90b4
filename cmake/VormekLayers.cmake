# vormek_layer_root(target layer...): gives the target an include root that
# holds links to the listed source folders under src/ and to nothing else, so
# that an include running the wrong way (say data/ reaching up into query/)
# finds no file and fails to build. A target's users get its root with it.
function(vormek_layer_root target)
  set(root ${PROJECT_BINARY_DIR}/layers/${target})
  file(MAKE_DIRECTORY ${root})
  foreach(layer ${ARGN})
    file(CREATE_LINK ${PROJECT_SOURCE_DIR}/src/${layer} ${root}/${layer} SYMBOLIC)
  endforeach()
  target_include_directories(${target} PUBLIC ${root})
endfunction()
