# What `cmake --install` adds besides the programs and the desktop files (res/desktop): the
# manual pages, bash completion and the package documents; and the Debian package that
# `make package` builds from all of it with CPack.
include(GNUInstallDirs)

set(RQ_DIST_DIR ${PROJECT_SOURCE_DIR}/dist)
set(RQ_DIST_BINARY_DIR ${PROJECT_BINARY_DIR}/dist)
set(RQ_DOC_DIR ${CMAKE_INSTALL_DATADIR}/doc/rqvfs-editor)

# Debian wants manual pages and changelogs compressed with gzip -9n, which leaves out names
# and times so that every build gives the same bytes.
function(rq_gzip_for_install source destination)
  add_custom_command(OUTPUT ${source}.gz
    COMMAND gzip -9nkf ${source}
    DEPENDS ${source}
    VERBATIM)
  list(APPEND RQ_DIST_GZIPPED ${source}.gz)
  set(RQ_DIST_GZIPPED ${RQ_DIST_GZIPPED} PARENT_SCOPE)
  install(FILES ${source}.gz DESTINATION ${destination})
endfunction()

set(RQ_MAN_PAGES rqfs)
if(RQ_BUILD_GUI)
  list(APPEND RQ_MAN_PAGES rqvfs-editor)
endif()
set(RQ_DIST_GZIPPED)
foreach(page IN LISTS RQ_MAN_PAGES)
  configure_file(${RQ_DIST_DIR}/man/${page}.1.in ${RQ_DIST_BINARY_DIR}/man/${page}.1 @ONLY)
  rq_gzip_for_install(${RQ_DIST_BINARY_DIR}/man/${page}.1 ${CMAKE_INSTALL_MANDIR}/man1)
endforeach()

# The changelog's date in the form Debian's tools read.
execute_process(COMMAND date --utc --rfc-email --date=${RQ_RELEASE_DATE}
                OUTPUT_VARIABLE RQ_RELEASE_DATE_RFC2822 OUTPUT_STRIP_TRAILING_WHITESPACE
                COMMAND_ERROR_IS_FATAL ANY)
configure_file(${RQ_DIST_DIR}/debian/changelog.in ${RQ_DIST_BINARY_DIR}/changelog @ONLY)
rq_gzip_for_install(${RQ_DIST_BINARY_DIR}/changelog ${RQ_DOC_DIR})
add_custom_target(dist_documents ALL DEPENDS ${RQ_DIST_GZIPPED})

install(FILES ${RQ_DIST_DIR}/debian/copyright DESTINATION ${RQ_DOC_DIR})
install(FILES ${RQ_DIST_DIR}/bash-completion/rqfs
        DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME rqvfs-editor)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT ${RQ_PACKAGE_MAINTAINER})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "editor for the file system image of RQ540 key cards")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Developers of software protected by an RQ540 USB hardware key lay out the
folders and files of the key's card with this desktop editor before writing
them into real hardware, and keep the layout as a .rqfs card image. The card's
rules are enforced exactly: sizes, IDs, passwords, header costs and limits.
File contents are imported from disk files, exported to them and edited in a
hex editor.
.
rqfs, the command-line tool of the package, builds, inspects and checks the
same images from scripts and build pipelines.")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${RQ_PACKAGE_MAINTAINER})
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${RQ_HOMEPAGE_URL})
set(CPACK_DEBIAN_PACKAGE_SECTION devel)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The window's texts are Simplified Chinese.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-noto-cjk, qt6-translations-l10n")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
include(CPack)
