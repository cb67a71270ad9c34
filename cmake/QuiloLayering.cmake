# The headless models stay headless: no model library may reach QtGui or
# QtWidgets, directly or through the libraries it links. Only src/skin, src/ui,
# src/app and the desktop side of src/platform draw.
function(quilo_reject_gui target)
  set(pending ${target})
  set(seen)
  while(pending)
    list(POP_FRONT pending current)
    if(current IN_LIST seen OR NOT TARGET ${current})
      continue()
    endif()
    list(APPEND seen ${current})
    get_target_property(linked ${current} LINK_LIBRARIES)
    get_target_property(interface ${current} INTERFACE_LINK_LIBRARIES)
    foreach(library IN LISTS linked interface)
      if(library MATCHES "^Qt6::(Gui|Widgets)$")
        message(FATAL_ERROR "${target} reaches ${library} through ${current}: a model library must not draw")
      endif()
      if(library AND NOT library MATCHES "NOTFOUND$")
        list(APPEND pending ${library})
      endif()
    endforeach()
  endwhile()
endfunction()

foreach(model quilo_platform quilo_shell quilo_media quilo_profiles quilo_conversion quilo_job quilo_authoring
              quilo_burn quilo_disc quilo_downloader quilo_cli)
  quilo_reject_gui(${model})
endforeach()
