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
