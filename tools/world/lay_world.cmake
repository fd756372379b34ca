# lay_world.cmake -- copies the default world's layer files FROM -> TO; with
# OVERWRITE off only those missing in TO, so a player's edits are kept.
foreach(file map.map obj.map mob.map)
  if(OVERWRITE OR NOT EXISTS ${TO}/${file})
    configure_file(${FROM}/${file} ${TO}/${file} COPYONLY)
    message(STATUS "${TO}/${file}: the default world's")
  endif()
endforeach()
