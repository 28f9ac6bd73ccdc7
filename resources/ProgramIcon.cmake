# The window's program icon is rendered from the one drawing that the desktop icons come from
# too, at each size a screen may ask for (16 and 32 pixels at 1x, 1.5x and 2x).
find_program(RSVG_CONVERT rsvg-convert REQUIRED)
set(program_icon_svg ${CMAKE_SOURCE_DIR}/packaging/icons/org.vellumo.Vellumo.svg)
set(program_icon_dir ${CMAKE_BINARY_DIR}/program-icon)
set(program_icon_files "")
foreach(size 16 24 32 48 64)
  set(png ${program_icon_dir}/vellumo${size}.png)
  add_custom_command(OUTPUT ${png}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${program_icon_dir}
    COMMAND ${RSVG_CONVERT} -w ${size} -h ${size} -o ${png} ${program_icon_svg}
    DEPENDS ${program_icon_svg} VERBATIM)
  string(APPEND program_icon_files "    <file>vellumo${size}.png</file>\n")
endforeach()
file(CONFIGURE OUTPUT ${program_icon_dir}/program_icon.qrc CONTENT
  "<!DOCTYPE RCC>\n<RCC version=\"1.0\">\n  <qresource prefix=\"/icons\">\n${program_icon_files}  </qresource>\n</RCC>\n")
qt6_add_resources(VELLUMO_PROGRAM_ICON_SOURCES ${program_icon_dir}/program_icon.qrc)
