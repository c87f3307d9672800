# Sources of the compression engine, built into each package.
set(ZORP_ENGINE_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/CompThreadSafety.cpp
  # run-length and LZH codecs
  # LZH5 codec
)
