# Run by CPack on the staging folder of the Debian package, after the install
# and before packing (CPACK_PRE_BUILD_SCRIPTS): the manual pages compressed
# and the Debian changelog added, both by `gzip -9n`, so that the package
# does not change with the time it was built.
set(Root "${CPACK_TEMPORARY_INSTALL_DIRECTORY}${CPACK_PACKAGING_INSTALL_PREFIX}")

file(GLOB Pages "${Root}/share/man/man*/*.[0-9]")
foreach(Page ${Pages})
  execute_process(COMMAND gzip -9nf "${Page}" COMMAND_ERROR_IS_FATAL ANY)
endforeach()

set(Changelog "${Root}/${CPACK_CORVINAL_DOCDIR}/changelog.Debian.gz")
execute_process(COMMAND gzip -9nc "${CPACK_CORVINAL_DEBIAN_CHANGELOG}"
  OUTPUT_FILE "${Changelog}" COMMAND_ERROR_IS_FATAL ANY)
file(CHMOD "${Changelog}" PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)

# As Debian's dh_strip does: CPack has stripped the symbols, and the
# compiler's notes go too.
file(GLOB Programs "${Root}/bin/*")
foreach(Program ${Programs})
  execute_process(COMMAND "${CPACK_CORVINAL_STRIP}" --remove-section=.comment --remove-section=.note
    "${Program}" COMMAND_ERROR_IS_FATAL ANY)
endforeach()

# file(INSTALL) would put DESTDIR, which CPack sets, in front of the path.
set(Overrides "${Root}/share/lintian/overrides/${CPACK_PACKAGE_NAME}")
file(MAKE_DIRECTORY "${Root}/share/lintian/overrides")
file(COPY_FILE "${CPACK_CORVINAL_LINTIAN_OVERRIDES}" "${Overrides}")
file(CHMOD "${Overrides}" PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
