# Sources of the compression component, built into each package.
set(ZORP_COMPONENT_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/ArchiveReading.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ArchiveWalk.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ArchiveWriting.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ExtractionTarget.cpp
  ${CMAKE_CURRENT_LIST_DIR}/FileLists.cpp
  ${CMAKE_CURRENT_LIST_DIR}/FileMasks.cpp
  ${CMAKE_CURRENT_LIST_DIR}/HeaderOperations.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Headers.cpp
  ${CMAKE_CURRENT_LIST_DIR}/PathRules.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ProcessStreams.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Resources.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SingleStream.cpp
  ${CMAKE_CURRENT_LIST_DIR}/StringOperations.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Zorp.cpp
)
