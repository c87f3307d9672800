# Sources of the compressed fields and data-aware controls (zorpdb only).
set(ZORP_DBCONTROLS_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/CBlobStream.cpp
  ${CMAKE_CURRENT_LIST_DIR}/CDBImage.cpp
  ${CMAKE_CURRENT_LIST_DIR}/CDBMemo.cpp
  ${CMAKE_CURRENT_LIST_DIR}/CDBRichEdit.cpp
  ${CMAKE_CURRENT_LIST_DIR}/CompressedFields.cpp
  ${CMAKE_CURRENT_LIST_DIR}/DBAlignment.cpp
  ${CMAKE_CURRENT_LIST_DIR}/DBMemoState.cpp
  ${CMAKE_CURRENT_LIST_DIR}/FieldBinding.cpp
  ${CMAKE_CURRENT_LIST_DIR}/PublishedProperties.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Register.cpp
)
