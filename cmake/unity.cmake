# A library is compiled in a few large runs rather than one per file: on a small machine each run
# spends more time reading Qt's headers than compiling a file of ours. So a helper local to a
# file needs a name of its own within its library.
#
# CMake's own unity build names the sources by their absolute path, so no two clones share a
# compiler cache entry. These groups name them from the source root instead, which every target
# has on its include path.
set(VUVA_UNITY_BATCH 16 CACHE STRING "Source files compiled together; 1 compiles each alone")

function(_vuva_unity_write target index content out_var)
  set(file ${CMAKE_CURRENT_BINARY_DIR}/${target}_unity_${index}.cpp)
  # Rewritten only when the group changes, so a configure run recompiles nothing.
  file(CONFIGURE OUTPUT ${file} CONTENT "${content}" @ONLY)
  set(${out_var} ${file} PARENT_SCOPE)
endfunction()

# Replaces the target's .cpp files by groups of at most VUVA_UNITY_BATCH that include them; the
# files stay in the target for editors, compiled only through their group.
function(vuva_unity target)
  get_target_property(srcs ${target} SOURCES)
  list(FILTER srcs INCLUDE REGEX "\\.cpp$")
  list(LENGTH srcs count)
  if(VUVA_UNITY_BATCH LESS 2 OR count LESS 2)
    return()
  endif()
  # Groups of even size: 24 files make two of 12, not one of 16 and one of 8.
  math(EXPR parts "(${count} + ${VUVA_UNITY_BATCH} - 1) / ${VUVA_UNITY_BATCH}")
  math(EXPR size "(${count} + ${parts} - 1) / ${parts}")
  set(groups)
  set(content "/* generated: the sources of ${target} compiled together */\n")
  set(index 0)
  set(filled 0)
  foreach(src IN LISTS srcs)
    get_filename_component(path ${src} ABSOLUTE BASE_DIR ${CMAKE_CURRENT_SOURCE_DIR})
    file(RELATIVE_PATH relative ${CMAKE_SOURCE_DIR} ${path})
    string(APPEND content "#include \"${relative}\"\n")
    set_source_files_properties(${src} PROPERTIES HEADER_FILE_ONLY ON)
    math(EXPR filled "${filled} + 1")
    if(filled EQUAL size)
      _vuva_unity_write(${target} ${index} "${content}" group)
      list(APPEND groups ${group})
      set(content "/* generated: the sources of ${target} compiled together */\n")
      set(filled 0)
      math(EXPR index "${index} + 1")
    endif()
  endforeach()
  if(filled GREATER 0)
    _vuva_unity_write(${target} ${index} "${content}" group)
    list(APPEND groups ${group})
  endif()
  target_sources(${target} PRIVATE ${groups})
endfunction()
