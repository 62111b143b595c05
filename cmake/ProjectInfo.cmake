# Facts about the release that the programs, the manual pages, the desktop metadata and the
# package share. The version itself is the project version; the programs read it from the
# generated header of the interface target rq_version.
set(RQ_RELEASE_DATE "2026-12-09")
set(RQ_HOMEPAGE_URL "https://rqvfs-editor.example" CACHE STRING
    "Web address of the project, for the package and the desktop metadata")
set(RQ_PACKAGE_MAINTAINER "RQVfs Editor maintainers <maintainers@rqvfs-editor.example>"
    CACHE STRING "Maintainer field of the Debian package")

configure_file(${CMAKE_CURRENT_LIST_DIR}/ProgramVersion.h.in
               ${CMAKE_BINARY_DIR}/generated/ProgramVersion.h @ONLY)
add_library(rq_version INTERFACE)
target_include_directories(rq_version INTERFACE ${CMAKE_BINARY_DIR}/generated)
