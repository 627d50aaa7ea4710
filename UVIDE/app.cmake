# The editor window `ulvan`: the window's code as the library `uvide` (the window tests link
# it) and the program around it. Included by CMakeLists.txt when Qt 6 is found.
find_package(JPEG REQUIRED)

# The About box picture is compiled in as a byte array.
set(_picture ${CMAKE_CURRENT_SOURCE_DIR}/AboutPicture.jpg)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${_picture})
file(READ ${_picture} _hex HEX)
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," _bytes "${_hex}")
file(SIZE ${_picture} _size)
file(CONFIGURE OUTPUT ${CMAKE_CURRENT_BINARY_DIR}/AboutPictureData.cpp CONTENT
"// Generated from AboutPicture.jpg.
#include \"AboutPicture.h\"

const unsigned char AboutPictureJpeg[] = {
${_bytes}
};
const std::size_t AboutPictureJpegSize = ${_size};
")

file(GLOB UVIDE_SOURCES CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
list(REMOVE_ITEM UVIDE_SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/main.cpp)
file(GLOB UVIDE_HEADERS CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.h)

add_library(uvide STATIC ${UVIDE_SOURCES} ${UVIDE_HEADERS}
            ${CMAKE_CURRENT_BINARY_DIR}/AboutPictureData.cpp)
set_target_properties(uvide PROPERTIES AUTOMOC ON)
target_include_directories(uvide PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
# Only the compiler's interface: the program passes the parser factory in.
target_include_directories(uvide PUBLIC ${PROJECT_SOURCE_DIR}/UVParser)
target_link_libraries(uvide PUBLIC uvcode Qt6::Widgets PRIVATE JPEG::JPEG)
if(TARGET uwrichedit)
  target_link_libraries(uvide PUBLIC uwrichedit)
endif()

add_executable(ulvan ${CMAKE_CURRENT_SOURCE_DIR}/main.cpp)
target_link_libraries(ulvan PRIVATE uvide uvparser)
