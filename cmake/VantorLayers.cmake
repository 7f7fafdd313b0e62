# The layers of the source tree, enforced by the compiler. Every target
# belongs to one source folder and sees, on its include path, only that
# folder's include root: a directory in the build tree holding one symbolic
# link named after the folder, so "<folder>/File.h" resolves and no other
# folder of the project does. Other folders come only from the targets it
# links, whose roots travel with them (PUBLIC for a library), and those links
# are checked against the folder's rule, VANTOR_MAY_USE_<folder>, set in the
# top-level CMakeLists.txt. An include that crosses a layer the wrong way
# therefore fails to compile with "No such file or directory".
#
# The links are made at configure time; a Windows build needs symbolic links
# enabled there (developer mode), or a copy of each folder in their place.

# vantor_layer(<target> <folder> [USES <target>...])
#
# Puts <target> in <folder>'s layer and links the USES targets to it. Each of
# the project's own targets among them must belong to <folder> itself or to a
# folder its rule lists, and must see no more than <folder> may; imported
# targets (GTest::gtest, PNG::PNG, ...) pass unchecked.
function(vantor_layer target folder)
  cmake_parse_arguments(PARSE_ARGV 2 L "" "" "USES")
  if(NOT DEFINED VANTOR_MAY_USE_${folder})
    message(FATAL_ERROR "vantor_layer(${target}): no rule VANTOR_MAY_USE_${folder}")
  endif()
  set(allowed ${VANTOR_MAY_USE_${folder}})

  set(root ${CMAKE_BINARY_DIR}/include-roots/${folder})
  set(link ${root}/${folder})
  set(destination ${CMAKE_SOURCE_DIR}/${folder})
  if(IS_SYMLINK ${link})
    file(READ_SYMLINK ${link} current)
  else()
    set(current "")
  endif()
  if(NOT current STREQUAL destination)
    file(MAKE_DIRECTORY ${root})
    file(REMOVE ${link})
    file(CREATE_LINK ${destination} ${link} SYMBOLIC)
  endif()

  foreach(used IN LISTS L_USES)
    if(NOT TARGET ${used})
      message(FATAL_ERROR "vantor_layer(${target}): ${used} is not a target")
    endif()
    get_target_property(imported ${used} IMPORTED)
    if(imported)
      continue()
    endif()
    get_target_property(used_folder ${used} VANTOR_LAYER)
    if(NOT used_folder)
      message(FATAL_ERROR "vantor_layer(${target}): ${used} belongs to no layer")
    endif()
    if(used_folder STREQUAL folder)
      continue()
    endif()
    if(NOT used_folder IN_LIST allowed)
      message(FATAL_ERROR "vantor_layer(${target}): ${folder}/ may not use ${used_folder}/ (${used})")
    endif()
    foreach(reached IN LISTS VANTOR_MAY_USE_${used_folder})
      if(NOT reached STREQUAL folder AND NOT reached IN_LIST allowed)
        message(FATAL_ERROR
          "vantor_layer(${target}): ${used} would show ${reached}/ to ${folder}/, which may not use it")
      endif()
    endforeach()
  endforeach()

  get_target_property(type ${target} TYPE)
  if(type STREQUAL "EXECUTABLE")
    set(scope PRIVATE)
  else()
    set(scope PUBLIC)
  endif()
  set_target_properties(${target} PROPERTIES VANTOR_LAYER ${folder})
  target_include_directories(${target} ${scope} ${root})
  target_link_libraries(${target} ${scope} ${L_USES})
endfunction()
