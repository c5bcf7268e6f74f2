# Install rules. The two shared libraries form the runtime component; their headers
# (under include/kpquaslet, so that "KPQuaslet/..." and "platform/..." claim no
# top-level names), the linker names, the CMake package and kpquaslet.pc form the
# development component. cmake/Packaging.cmake makes one Debian package of each.
include(CMakePackageConfigHelpers)

set(KP_INSTALL_INCLUDEDIR ${CMAKE_INSTALL_INCLUDEDIR}/kpquaslet)
set(KP_INSTALL_CMAKEDIR ${CMAKE_INSTALL_LIBDIR}/cmake/KPQuaslet)

install(TARGETS ios_platform KPQuaslet
  EXPORT KPQuasletTargets
  LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
    COMPONENT Runtime
    NAMELINK_COMPONENT Development
  FILE_SET HEADERS DESTINATION ${KP_INSTALL_INCLUDEDIR}
    COMPONENT Development)

# find_package(KPQuaslet 5.3 CONFIG) gives KPQuaslet::KPQuaslet and
# KPQuaslet::ios_platform, and finds again what their public headers need.
install(EXPORT KPQuasletTargets
  NAMESPACE KPQuaslet::
  DESTINATION ${KP_INSTALL_CMAKEDIR}
  COMPONENT Development)
configure_package_config_file(cmake/KPQuasletConfig.cmake.in
  ${PROJECT_BINARY_DIR}/KPQuasletConfig.cmake
  INSTALL_DESTINATION ${KP_INSTALL_CMAKEDIR})
write_basic_package_version_file(${PROJECT_BINARY_DIR}/KPQuasletConfigVersion.cmake
  COMPATIBILITY SameMajorVersion)
install(FILES
    ${PROJECT_BINARY_DIR}/KPQuasletConfig.cmake
    ${PROJECT_BINARY_DIR}/KPQuasletConfigVersion.cmake
  DESTINATION ${KP_INSTALL_CMAKEDIR}
  COMPONENT Development)

# kpquaslet.pc names its prefix, which is known only when installing (cmake --install
# --prefix, or /usr when cpack stages a package): everything else is filled in now, the
# prefix by the install step.
list(JOIN KP_PKGCONFIG_REQUIRES ", " KP_PKGCONFIG_REQUIRES_LINE)
set(KP_PKGCONFIG_PREFIX "@KP_PKGCONFIG_PREFIX@")
configure_file(cmake/kpquaslet.pc.in ${PROJECT_BINARY_DIR}/pkgconfig/kpquaslet.pc.in @ONLY)
install(CODE "
  set(KP_PKGCONFIG_PREFIX \"\${CMAKE_INSTALL_PREFIX}\")
  configure_file(\"${PROJECT_BINARY_DIR}/pkgconfig/kpquaslet.pc.in\"
                 \"${PROJECT_BINARY_DIR}/pkgconfig/kpquaslet.pc\" @ONLY)"
  COMPONENT Development)
install(FILES ${PROJECT_BINARY_DIR}/pkgconfig/kpquaslet.pc
  DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig
  COMPONENT Development)
