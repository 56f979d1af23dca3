# The Windows build (scripts/windows.sh): SDL2 and friends linked statically from the
# cross-built libraries, the desktop's POSIX services replaced by src/platform/win/.

# SDL2_image's static config asks for these even when it decodes through stb.
foreach(target JPEG::JPEG PNG::PNG)
  if(NOT TARGET ${target})
    add_library(${target} INTERFACE IMPORTED)
  endif()
endforeach()
# HarfBuzz's static config links threads without asking for them.
find_package(Threads REQUIRED)
find_package(SDL2 REQUIRED CONFIG)
find_package(SDL2_ttf REQUIRED CONFIG)
find_package(SDL2_mixer REQUIRED CONFIG)
find_package(SDL2_image REQUIRED CONFIG)

# The desktop's names for the libraries, so the rest of the build reads the same. The
# mixer's static library does not carry SDL2: SDL2 comes after it.
foreach(lib SDL2_ttf SDL2_image SDL2_mixer)
  add_library(${lib}::${lib} INTERFACE IMPORTED)
  target_link_libraries(${lib}::${lib} INTERFACE ${lib}::${lib}-static SDL2::SDL2-static)
endforeach()
if(NOT TARGET SDL2::SDL2)
  add_library(SDL2::SDL2 INTERFACE IMPORTED)
  target_link_libraries(SDL2::SDL2 INTERFACE SDL2::SDL2-static)
endif()
# The text codec is Windows' own code page 932: no iconv.
add_library(Iconv::Iconv INTERFACE IMPORTED)

set(DALVO_PLATFORM_EXCLUDE
  "/src/platform/(codec/text_codec|os/(file_read|file_save_store|folder_access|lock_file|mapped_file|pictures_folder|player_folder|process)|sdl/(font_files|mixer_library))\\.cpp$")
set(DALVO_X11 OFF)
# One program file with no DLL beside it: the C and C++ runtimes linked in.
add_link_options(-static)

set(DALVO_WIN_FONTS
  /usr/share/fonts/opentype/ipafont-gothic/ipag.ttf
  /usr/share/fonts/truetype/liberation2/LiberationSans-Regular.ttf)

# After the targets exist: what the Windows programs need beyond the desktop's.
function(dalvo_windows_targets)
  # The mixer's functions are linked in rather than loaded by name.
  target_link_libraries(dalvo_platform PRIVATE SDL2_mixer::SDL2_mixer SDL2::SDL2-static shell32 ole32 uuid)
  set_target_properties(dalvo PROPERTIES WIN32_EXECUTABLE ON)
  target_sources(dalvo PRIVATE ${CMAKE_BINARY_DIR}/dalvo.rc)
  # The icon is used when the icon target of the desktop build is there to make it.
  set(ICON_LINE "")
  if(TARGET dalvo_icons)
    add_dependencies(dalvo dalvo_icons)
    set(ICON_LINE "1 ICON \"${CMAKE_BINARY_DIR}/icons/dalvo.ico\"")
  endif()
  configure_file(${CMAKE_SOURCE_DIR}/src/platform/win/dalvo.rc.in ${CMAKE_BINARY_DIR}/dalvo.rc @ONLY)
  # Every program looks for its fonts beside itself.
  foreach(dir . tests tools)
    file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/${dir}/fonts)
    file(COPY ${DALVO_WIN_FONTS} DESTINATION ${CMAKE_BINARY_DIR}/${dir}/fonts FOLLOW_SYMLINK_CHAIN)
  endforeach()
endfunction()
