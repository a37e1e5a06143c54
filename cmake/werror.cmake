# kvitra_werror(<directory>): -Werror for every target that builds code of the
# project's own source tree, in <directory> and below. Code from outside the
# tree (a third-party library added as a subdirectory) keeps its warnings as
# warnings.
function(kvitra_werror directory)
  get_property(source_dir DIRECTORY ${directory} PROPERTY SOURCE_DIR)
  cmake_path(IS_PREFIX PROJECT_SOURCE_DIR "${source_dir}" NORMALIZE in_project)
  if(NOT in_project)
    return()
  endif()
  get_property(targets DIRECTORY ${directory} PROPERTY BUILDSYSTEM_TARGETS)
  foreach(target IN LISTS targets)
    get_target_property(type ${target} TYPE)
    if(type MATCHES "^(STATIC_LIBRARY|SHARED_LIBRARY|MODULE_LIBRARY|OBJECT_LIBRARY|EXECUTABLE)$")
      target_compile_options(${target} PRIVATE -Werror)
    endif()
  endforeach()
  get_property(subdirectories DIRECTORY ${directory} PROPERTY SUBDIRECTORIES)
  foreach(subdirectory IN LISTS subdirectories)
    kvitra_werror(${subdirectory})
  endforeach()
endfunction()
