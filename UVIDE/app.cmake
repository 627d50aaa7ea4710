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

file(GLOB UVIDE_SOURCES CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp
     ${CMAKE_CURRENT_SOURCE_DIR}/editor/*.cpp)
list(REMOVE_ITEM UVIDE_SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/main.cpp)
file(GLOB UVIDE_HEADERS CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.h
     ${CMAKE_CURRENT_SOURCE_DIR}/editor/*.h)

add_library(uvide STATIC ${UVIDE_SOURCES} ${UVIDE_HEADERS}
            ${CMAKE_CURRENT_BINARY_DIR}/AboutPictureData.cpp)
set_target_properties(uvide PROPERTIES AUTOMOC ON)
target_include_directories(uvide PUBLIC ${CMAKE_CURRENT_SOURCE_DIR} ${CMAKE_CURRENT_SOURCE_DIR}/editor)
# Only the compiler's interface: the program passes the parser factory in.
target_include_directories(uvide PUBLIC ${PROJECT_SOURCE_DIR}/UVParser)
target_link_libraries(uvide PUBLIC uvcode Qt6::Widgets PRIVATE JPEG::JPEG)
if(TARGET uwrichedit)
  target_link_libraries(uvide PUBLIC uwrichedit)
endif()
# The Language Guide is compiled in.
qt_add_resources(uvide "guide" PREFIX "/help" BASE ${CMAKE_CURRENT_SOURCE_DIR}/help
                 FILES ${CMAKE_CURRENT_SOURCE_DIR}/help/LanguageGuide.md)
# Where the examples are: installed, relative to the program's folder; in the build tree, the
# sources' folder.
file(RELATIVE_PATH _examples_from_bindir ${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}
     ${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_DATADIR}/ulvan/examples)
set_source_files_properties(${CMAKE_CURRENT_SOURCE_DIR}/Examples.cpp PROPERTIES COMPILE_DEFINITIONS
  "ULVAN_EXAMPLES_FROM_BINDIR=\"${_examples_from_bindir}\";ULVAN_BUILD_DIR=\"${PROJECT_BINARY_DIR}\";ULVAN_SOURCE_EXAMPLES=\"${PROJECT_SOURCE_DIR}/examples\"")

add_executable(ulvan ${CMAKE_CURRENT_SOURCE_DIR}/main.cpp)
target_link_libraries(ulvan PRIVATE uvide uvparser)

install(TARGETS ulvan RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

# The application icon: the About box picture scaled to the hicolor theme's usual sizes at
# build time, with the same JPEG decoding as the About box.
add_executable(make-icons ${CMAKE_CURRENT_SOURCE_DIR}/tools/MakeIcons.cpp
               ${CMAKE_CURRENT_SOURCE_DIR}/JpegImage.cpp)
target_include_directories(make-icons PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
target_link_libraries(make-icons PRIVATE Qt6::Gui JPEG::JPEG)
set(_icon_sizes 16 22 24 32 48 64 128)
set(_icon_dir ${CMAKE_CURRENT_BINARY_DIR}/hicolor)
set(_icons)
foreach(_size ${_icon_sizes})
  list(APPEND _icons ${_icon_dir}/${_size}x${_size}/apps/ulvan.png)
endforeach()
add_custom_command(OUTPUT ${_icons}
                   COMMAND make-icons ${_picture} ${_icon_dir} ${_icon_sizes}
                   DEPENDS make-icons ${_picture} VERBATIM)
add_custom_target(icons ALL DEPENDS ${_icons})
install(DIRECTORY ${_icon_dir} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons)
install(FILES ${PROJECT_SOURCE_DIR}/dist/ulvan.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
