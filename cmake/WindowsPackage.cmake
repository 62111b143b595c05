# The Windows download of rqfs: rqfs.exe with its version and icon, the README's parts a
# user of it needs and the licence, in build/windows/rqfs-VERSION-windows-x64.zip.
find_program(RSVG_CONVERT rsvg-convert REQUIRED)
find_package(Python3 REQUIRED COMPONENTS Interpreter)

set(RQ_WINDOWS_DIST ${PROJECT_BINARY_DIR}/dist)
set(RQ_DOCUMENT_SVG ${PROJECT_SOURCE_DIR}/res/desktop/application-x-rqvfs-document.svg)
set(RQ_DOCUMENT_ICON ${RQ_WINDOWS_DIST}/rqfs.ico)

# The icon of the card images, at the sizes Explorer shows.
set(pictures)
foreach(size 16 24 32 48 64 256)
  set(png ${RQ_WINDOWS_DIST}/icon-${size}.png)
  add_custom_command(OUTPUT ${png}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${RQ_WINDOWS_DIST}
    COMMAND ${RSVG_CONVERT} --width=${size} --height=${size} --output=${png} ${RQ_DOCUMENT_SVG}
    DEPENDS ${RQ_DOCUMENT_SVG}
    VERBATIM)
  list(APPEND pictures ${png})
endforeach()
add_custom_command(OUTPUT ${RQ_DOCUMENT_ICON}
  COMMAND Python3::Interpreter ${PROJECT_SOURCE_DIR}/scripts/make-ico.py ${RQ_DOCUMENT_ICON} ${pictures}
  DEPENDS ${pictures} ${PROJECT_SOURCE_DIR}/scripts/make-ico.py
  VERBATIM)

add_custom_target(rqfs_icon DEPENDS ${RQ_DOCUMENT_ICON})

configure_file(${PROJECT_SOURCE_DIR}/dist/windows/rqfs.rc.in ${RQ_WINDOWS_DIST}/rqfs.rc @ONLY)
target_sources(rqfs PRIVATE ${RQ_WINDOWS_DIST}/rqfs.rc)
add_dependencies(rqfs rqfs_icon)

set(RQ_WINDOWS_ZIP ${PROJECT_BINARY_DIR}/rqfs-${PROJECT_VERSION}-windows-x64.zip)
add_custom_command(OUTPUT ${RQ_WINDOWS_ZIP}
  COMMAND Python3::Interpreter ${PROJECT_SOURCE_DIR}/scripts/windows-zip.py ${RQ_WINDOWS_ZIP}
          $<TARGET_FILE:rqfs> ${PROJECT_SOURCE_DIR}/README.md ${PROJECT_SOURCE_DIR}/dist/debian/copyright
  DEPENDS rqfs ${PROJECT_SOURCE_DIR}/scripts/windows-zip.py ${PROJECT_SOURCE_DIR}/README.md
          ${PROJECT_SOURCE_DIR}/dist/debian/copyright
  VERBATIM)
add_custom_target(windows_zip ALL DEPENDS ${RQ_WINDOWS_ZIP})
