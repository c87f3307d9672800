# Sources of the compression component, built into each package.
set(ZORP_COMPONENT_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/ProcessStreams.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Zorp.cpp
)
