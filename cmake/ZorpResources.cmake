# zorp_add_resource(TARGET NAME FILE [METHOD none|rle|lzh|lh5] [KEY key])
#
# Compresses FILE with the zorp tool (as "zorp compress --raw" does: header
# and data, or the data unchanged when they do not shrink and no key is set,
# which is what TZorp::Compress writes) and
# embeds the result in TARGET, once it is linked, as the resource NAME of
# type "TZORP": a section of its own, not loaded into memory, that
# TZorp::LoadCompressedResource and LoadExpandedResource read back. METHOD
# defaults to lh5, KEY (a lock key, decimal or 0x hexadecimal) to 0. NAME
# may hold letters, digits, "_", "-" and "."; other names can be embedded
# with "zorp resource add". FILE is relative to the current source
# directory, and may be the output of a custom command of this directory.
# Call this in the directory that creates TARGET; TARGET cannot be the zorp
# tool itself.
#
# The installed package brings this function with find_package(Zorp); it
# then runs the installed tool (Zorp::zorp) and the project's objcopy.
function(zorp_add_resource TARGET NAME FILE)
  cmake_parse_arguments(ARG "" "METHOD;KEY" "" ${ARGN})
  if(NOT ARG_METHOD)
    set(ARG_METHOD lh5)
  endif()
  if(NOT DEFINED ARG_KEY OR ARG_KEY STREQUAL "")
    set(ARG_KEY 0)
  endif()
  if(NOT NAME MATCHES "^[A-Za-z0-9_.-]+$")
    message(FATAL_ERROR "zorp_add_resource: resource name \"${NAME}\" may only hold letters, digits, _, - and .")
  endif()
  if(NOT CMAKE_OBJCOPY)
    message(FATAL_ERROR "zorp_add_resource needs objcopy (binutils)")
  endif()

  get_filename_component(source "${FILE}" ABSOLUTE BASE_DIR "${CMAKE_CURRENT_SOURCE_DIR}")
  set(dir "${CMAKE_CURRENT_BINARY_DIR}/zorp-resources/${TARGET}")
  set(packed "${dir}/${NAME}.zorp")
  set(section ".zorp.res/TZORP/${NAME}")

  add_custom_command(OUTPUT "${packed}"
    COMMAND ${CMAKE_COMMAND} -E make_directory "${dir}"
    COMMAND Zorp::zorp compress -q -f --raw --method=${ARG_METHOD} --key=${ARG_KEY} -o "${packed}"
            "${source}"
    DEPENDS "${source}" Zorp::zorp
    COMMENT "Compressing resource ${NAME} of ${TARGET}"
    VERBATIM)
  add_custom_target(${TARGET}_resource_${NAME} DEPENDS "${packed}")
  add_dependencies(${TARGET} ${TARGET}_resource_${NAME})
  # A new resource relinks the target, which embeds it again.
  set_property(TARGET ${TARGET} APPEND PROPERTY LINK_DEPENDS "${packed}")
  add_custom_command(TARGET ${TARGET} POST_BUILD
    COMMAND ${CMAKE_OBJCOPY} --remove-section=${section} --add-section ${section}=${packed}
            $<TARGET_FILE:${TARGET}>
    COMMENT "Embedding resource ${NAME} in ${TARGET}"
    VERBATIM)
endfunction()

# zorp_add_plain_resource(TARGET TYPE NAME FILE)
#
# Embeds FILE unchanged in TARGET, once it is linked, as the resource NAME
# of type TYPE (for example the palette images, of type "BITMAP"). TYPE and
# NAME may hold letters, digits, "_", "-" and ".".
function(zorp_add_plain_resource TARGET TYPE NAME FILE)
  if(NOT "${TYPE}/${NAME}" MATCHES "^[A-Za-z0-9_.-]+/[A-Za-z0-9_.-]+$")
    message(FATAL_ERROR "zorp_add_plain_resource: \"${TYPE}/${NAME}\" may only hold letters, digits, _, - and .")
  endif()
  if(NOT CMAKE_OBJCOPY)
    message(FATAL_ERROR "zorp_add_plain_resource needs objcopy (binutils)")
  endif()
  get_filename_component(source "${FILE}" ABSOLUTE BASE_DIR "${CMAKE_CURRENT_SOURCE_DIR}")
  set(section ".zorp.res/${TYPE}/${NAME}")
  set_property(TARGET ${TARGET} APPEND PROPERTY LINK_DEPENDS "${source}")
  add_custom_command(TARGET ${TARGET} POST_BUILD
    COMMAND ${CMAKE_OBJCOPY} --remove-section=${section} --add-section ${section}=${source}
            $<TARGET_FILE:${TARGET}>
    COMMENT "Embedding resource ${TYPE}/${NAME} in ${TARGET}"
    VERBATIM)
endfunction()
