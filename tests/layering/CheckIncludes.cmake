# Checks that the library's layers include downwards only: each folder may
# include itself and the folders listed for it below, nothing above it.
# Relative includes ("../base/Stream.h") are resolved from the including
# file, others from the top of the tree; system headers are not checked.
#
#   cmake -DROOT=<source dir> -P CheckIncludes.cmake
#
# Fails listing every include that goes up or across.
set(fw_base framework/base)
set(layers
  "framework/base:${fw_base}"
  "framework/controls:${fw_base}"
  "framework/db:${fw_base}"
  "common:${fw_base}"
  "engine:${fw_base},common"
  "component:${fw_base},common,engine"
  "dbcontrols:framework,common,component"
  "packages:framework,common,component,dbcontrols"
  "sqlext:framework,common,component"
  "tools:framework,common,component,dbcontrols"
  "qtcontrols:framework,common,component,dbcontrols")

# The folder of Path (relative to ROOT) among the layers, or "" for none.
function(layer_of path out)
  set(found "")
  foreach(entry IN LISTS layers)
    string(REGEX REPLACE ":.*" "" layer "${entry}")
    if(path MATCHES "^${layer}/")
      set(found "${layer}")
    endif()
  endforeach()
  set(${out} "${found}" PARENT_SCOPE)
endfunction()

set(violations "")
set(checked 0)
foreach(entry IN LISTS layers)
  string(REGEX REPLACE ":.*" "" layer "${entry}")
  string(REGEX REPLACE "^[^:]*:" "" below "${entry}")
  string(REPLACE "," ";" allowed "${layer};${below}")
  file(GLOB_RECURSE sources RELATIVE "${ROOT}" "${ROOT}/${layer}/*.h" "${ROOT}/${layer}/*.cpp")
  foreach(source IN LISTS sources)
    file(STRINGS "${ROOT}/${source}" includes REGEX "^[ \t]*#[ \t]*include[ \t]*\"")
    cmake_path(GET source PARENT_PATH source_dir)
    foreach(line IN LISTS includes)
      string(REGEX REPLACE "^[^\"]*\"([^\"]+)\".*" "\\1" name "${line}")
      if(name MATCHES "^\\.")
        set(target "${source_dir}/${name}")
      elseif(EXISTS "${ROOT}/${source_dir}/${name}")
        set(target "${source_dir}/${name}")
      else()
        set(target "${name}")
      endif()
      cmake_path(NORMAL_PATH target)
      math(EXPR checked "${checked} + 1")
      layer_of("${target}" target_layer)
      if(target_layer STREQUAL "")
        continue() # generated or outside the library's layers
      endif()
      set(ok FALSE)
      foreach(permitted IN LISTS allowed)
        if(target MATCHES "^${permitted}/")
          set(ok TRUE)
        endif()
      endforeach()
      if(NOT ok)
        string(APPEND violations "\n  ${source} includes ${target} (${target_layer} is not below ${layer})")
      endif()
    endforeach()
  endforeach()
endforeach()

if(violations)
  message(FATAL_ERROR "Includes that go up or across a layer:${violations}")
endif()
message(STATUS "${checked} includes checked: every layer includes only itself and the layers below")
