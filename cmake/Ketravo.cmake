# Adds every .cpp of the given folders to a target. Folders may be empty.
function(kt_glob_sources target)
  foreach(dir ${ARGN})
    file(GLOB srcs CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/${dir}/*.cpp)
    if(srcs)
      target_sources(${target} PRIVATE ${srcs})
    endif()
  endforeach()
endfunction()

# Adds the listed files of the current folder. A listed file that is missing stops the
# configuration: skipping it would only surface later as an unresolved symbol, or not at all.
function(kt_sources target)
  foreach(f ${ARGN})
    if(NOT EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/${f})
      message(FATAL_ERROR "kt_sources(${target}): ${CMAKE_CURRENT_SOURCE_DIR}/${f} does not exist")
    endif()
    target_sources(${target} PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/${f})
  endforeach()
endfunction()

# Every sub-folder of DIR with a CMakeLists.txt is a project of its own (a tool, a benchmark).
function(kt_add_subdirs dir)
  file(GLOB lists CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/${dir}/*/CMakeLists.txt)
  foreach(l ${lists})
    get_filename_component(d ${l} DIRECTORY)
    add_subdirectory(${d})
  endforeach()
endfunction()

# Gives a Windows target the built-in skins as the program carries them (resource SKINSTORE1),
# from the store tools/skingen/CMakeLists.txt chose.
function(kt_embed_skin_store target)
  get_property(store GLOBAL PROPERTY KT_SKIN_STORE_FILE)
  get_property(store_target GLOBAL PROPERTY KT_SKIN_STORE_TARGET)
  set(rc ${CMAKE_CURRENT_BINARY_DIR}/${target}_skins.rc)
  file(WRITE ${rc} "SKINSTORE1 RCDATA \"${store}\"\n")
  set_source_files_properties(${rc} PROPERTIES OBJECT_DEPENDS ${store})
  target_sources(${target} PRIVATE ${rc})
  if(store_target)
    add_dependencies(${target} ${store_target})
  endif()
endfunction()
