# The layers, bottom up. A target of a layer folder links only targets of its
# own layer or of the layers below it; the include folders come with the
# links, so an include of a header from above does not compile either.
set(KVR_LAYERS core link catalogue buffer operations special help programs)
set(KVR_PROGRAM_FOLDERS app cli sim)

function(kvr_layer_rank folder out)
  if(folder IN_LIST KVR_PROGRAM_FOLDERS)
    set(folder programs)
  endif()
  list(FIND KVR_LAYERS ${folder} rank)
  set(${out} ${rank} PARENT_SCOPE)
endfunction()

# Fails the configuration when a target links a target of a higher layer.
function(kvr_check_layers)
  foreach(folder IN LISTS KVR_LAYERS KVR_PROGRAM_FOLDERS)
    if(NOT folder STREQUAL "programs")
      get_property(targets DIRECTORY ${PROJECT_SOURCE_DIR}/${folder} PROPERTY BUILDSYSTEM_TARGETS)
      foreach(target IN LISTS targets)
        set(target_folder_${target} ${folder})
        list(APPEND all_targets ${target})
      endforeach()
    endif()
  endforeach()
  foreach(target IN LISTS all_targets)
    kvr_layer_rank(${target_folder_${target}} rank)
    get_target_property(links ${target} LINK_LIBRARIES)
    foreach(link IN LISTS links)
      if(DEFINED target_folder_${link})
        kvr_layer_rank(${target_folder_${link}} link_rank)
        if(link_rank GREATER rank)
          message(FATAL_ERROR "${target} (${target_folder_${target}}/) links ${link} "
                              "(${target_folder_${link}}/), a layer above it")
        endif()
      endif()
    endforeach()
  endforeach()
endfunction()
