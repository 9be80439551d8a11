# Artwork: the SVG sources in res/art are rendered at twice the 96-DPI size with rsvg-convert
# (librsvg2-bin, installed by scripts/setup.sh) and compiled into the program as byte arrays.
find_program(RSVG_CONVERT rsvg-convert REQUIRED)
file(GLOB VANTREL_ART_SVGS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/res/art/*.svg)
set(VANTREL_ART_DIR ${CMAKE_BINARY_DIR}/art)
file(MAKE_DIRECTORY ${VANTREL_ART_DIR})
set(VANTREL_ART_PNGS)
foreach(svg ${VANTREL_ART_SVGS})
  get_filename_component(name ${svg} NAME_WE)
  set(png ${VANTREL_ART_DIR}/${name}.png)
  add_custom_command(OUTPUT ${png}
    COMMAND ${RSVG_CONVERT} --zoom=2 --format=png --output=${png} ${svg}
    DEPENDS ${svg}
    COMMENT "Rendering artwork ${name}"
    VERBATIM)
  list(APPEND VANTREL_ART_PNGS ${png})
endforeach()
string(REPLACE ";" "|" VANTREL_ART_INPUTS "${VANTREL_ART_PNGS}")
set(VANTREL_ART_SOURCE ${VANTREL_ART_DIR}/art_files.cpp)
add_custom_command(OUTPUT ${VANTREL_ART_SOURCE}
  COMMAND ${CMAKE_COMMAND} -DOUT=${VANTREL_ART_SOURCE} -DINPUTS=${VANTREL_ART_INPUTS}
          -P ${CMAKE_SOURCE_DIR}/cmake/embed_art.cmake
  DEPENDS ${VANTREL_ART_PNGS} ${CMAKE_SOURCE_DIR}/cmake/embed_art.cmake
  COMMENT "Embedding artwork"
  VERBATIM)
target_sources(vantrel_win PRIVATE ${VANTREL_ART_SOURCE})

# The program's icon (resource 100, the window class icon) from res/icon.svg, through ImageMagick.
find_program(IMAGEMAGICK_CONVERT convert REQUIRED)
set(VANTREL_ICON ${VANTREL_ART_DIR}/vantrel.ico)
set(VANTREL_ICON_PNGS)
foreach(size 16 20 24 32 40 48 64 256)
  set(png ${VANTREL_ART_DIR}/icon_${size}.png)
  add_custom_command(OUTPUT ${png}
    COMMAND ${RSVG_CONVERT} --width=${size} --height=${size} --format=png --output=${png}
            ${CMAKE_SOURCE_DIR}/res/icon.svg
    DEPENDS ${CMAKE_SOURCE_DIR}/res/icon.svg
    VERBATIM)
  list(APPEND VANTREL_ICON_PNGS ${png})
endforeach()
add_custom_command(OUTPUT ${VANTREL_ICON}
  COMMAND ${IMAGEMAGICK_CONVERT} ${VANTREL_ICON_PNGS} ${VANTREL_ICON}
  DEPENDS ${VANTREL_ICON_PNGS}
  COMMENT "Making the program icon"
  VERBATIM)
# windres finds "vantrel.ico" through the include path.
set_source_files_properties(${CMAKE_SOURCE_DIR}/res/vantrel.rc PROPERTIES OBJECT_DEPENDS ${VANTREL_ICON})
