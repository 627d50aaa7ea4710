# The superinstructions of the run loop: GenerateFused turns Superinstructions.def and the
# instruction semantics (Semantics.inc) into the kinds, the matcher's table and the bodies,
# which `target` compiles. Included by vm/ and by the fuzz targets' project.
function(ulvan_superinstructions target)
  set(_fast ${CMAKE_CURRENT_FUNCTION_LIST_DIR})
  set(_out ${CMAKE_CURRENT_BINARY_DIR}/fused)
  set(_files ${_out}/FusedKinds.inc ${_out}/FusedPatterns.inc ${_out}/FusedBodies.inc)
  add_executable(GenerateFused ${_fast}/gen/GenerateFused.cpp ${_fast}/gen/RegisterForm.cpp)
  target_include_directories(GenerateFused PRIVATE ${_fast}/..)
  add_custom_command(
    OUTPUT ${_files}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${_out}
    COMMAND GenerateFused ${_fast}/Superinstructions.def ${_fast}/../Semantics.inc ${_out}
    DEPENDS GenerateFused ${_fast}/Superinstructions.def ${_fast}/../Semantics.inc
    COMMENT "Generating the superinstructions")
  target_sources(${target} PRIVATE ${_files})
  target_include_directories(${target} PUBLIC ${_fast} ${_out})
endfunction()
