# Run by CPack on its staging folder before packing: every folder rwxr-xr-x, whatever the umask
# under which the files were installed there.
file(GLOB_RECURSE _folders LIST_DIRECTORIES true "${CPACK_TEMPORARY_INSTALL_DIRECTORY}/*")
foreach(_f ${_folders})
  if(IS_DIRECTORY "${_f}")
    file(CHMOD "${_f}" PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE
         WORLD_READ WORLD_EXECUTE)
  endif()
endforeach()
