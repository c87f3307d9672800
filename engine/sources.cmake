# Sources of the compression engine, built into each package.
set(ZORP_ENGINE_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/CompThreadSafety.cpp
  # run-length and LZH codecs
  ${CMAKE_CURRENT_LIST_DIR}/RLE.cpp
  ${CMAKE_CURRENT_LIST_DIR}/lzh/AdaptiveHuffman.cpp
  ${CMAKE_CURRENT_LIST_DIR}/lzh/MatchTrees.cpp
  ${CMAKE_CURRENT_LIST_DIR}/lzh/CompressLZH.cpp
  ${CMAKE_CURRENT_LIST_DIR}/lzh/ExpandLZH.cpp
  # LZH5 codec
  ${CMAKE_CURRENT_LIST_DIR}/lzh5/Lzh5BlockEncoder.cpp
  ${CMAKE_CURRENT_LIST_DIR}/lzh5/Lzh5BlockHeader.cpp
  ${CMAKE_CURRENT_LIST_DIR}/lzh5/Lzh5Compressor.cpp
  ${CMAKE_CURRENT_LIST_DIR}/lzh5/Lzh5DecodeTable.cpp
  ${CMAKE_CURRENT_LIST_DIR}/lzh5/Lzh5Decoder.cpp
  ${CMAKE_CURRENT_LIST_DIR}/lzh5/Lzh5MatchFinder.cpp
  ${CMAKE_CURRENT_LIST_DIR}/lzh5/Lzh5TreeBuilder.cpp
)
