# Debian packages, made by `make package` (the package preset installs under /usr, so
# the libraries land in Debian's multiarch folder; `cpack -G DEB` works in any build
# folder too):
#   libkpquaslet1    the two shared libraries; its dependencies come from the libraries
#                    they link (dpkg-shlibdeps), plus the font packages whose files the
#                    text measurement and drawing load by path;
#   libkpquaslet-dev the headers, linker names, CMake package and kpquaslet.pc; it
#                    depends on the runtime package at the same version and on the
#                    development packages of what the public headers include.
set(CPACK_PACKAGE_NAME kpquaslet)
set(CPACK_PACKAGE_VENDOR "KPQuaslet")
set(CPACK_PACKAGE_CONTACT "KPQuaslet developers <kpquaslet@users.noreply.invalid>")
# The first line of each package's description is its summary (the project sets no
# summary of its own, which CPack would put first in both).
set(kp_about "KPQuaslet is a C++20 utility framework for application developers:
conveniences on values and collections, text, dates and URLs; typed settings,
a keychain, biometrics, device information and a logger; timers, method
swizzling and crash logs; images and colours with two palette extractors;
views and controls. It runs on a stand-in for the mobile platform services it
calls, backed by ICU, cairo, Pango, libjpeg-turbo, libpng, FFmpeg and dlib.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_GENERATOR DEB)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL Runtime Development)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)

set(KP_DEB_RUNTIME libkpquaslet${KP_LIBRARY_SOVERSION})
set(CPACK_DEBIAN_RUNTIME_PACKAGE_NAME ${KP_DEB_RUNTIME})
set(CPACK_DEBIAN_RUNTIME_PACKAGE_SECTION libs)
set(CPACK_DEBIAN_RUNTIME_PACKAGE_SHLIBDEPS ON)
# Fonts are data, not linked libraries, so dpkg-shlibdeps cannot find them; the list
# matches the files named in platform/uikit/internal/FontFaces.cpp.
set(CPACK_DEBIAN_RUNTIME_PACKAGE_DEPENDS
    "fonts-dejavu-core, fonts-dejavu-extra, fonts-urw-base35, fonts-wqy-microhei")
set(CPACK_DEBIAN_RUNTIME_DESCRIPTION "KPQuaslet utility framework (shared libraries)
${kp_about}

This package holds the shared libraries.")
# The dynamic linker's cache is refreshed by dpkg's ldconfig trigger rather than by
# maintainer scripts: a package with a postrm script stays listed (state "rc") after it
# is removed. CPack writes its own ldconfig postinst and postrm for libraries unless the
# extra control files name scripts of those names; the two names below are no files, so
# the package gets neither script (CPack notes each missing name with a warning).
set(CPACK_DEBIAN_RUNTIME_PACKAGE_CONTROL_EXTRA
  ${PROJECT_SOURCE_DIR}/cmake/debian/triggers
  ${PROJECT_SOURCE_DIR}/cmake/debian/no-maintainer-scripts/postinst
  ${PROJECT_SOURCE_DIR}/cmake/debian/no-maintainer-scripts/postrm)
# A shlibs file, so that programs built against the package depend on it in turn.
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS ON)
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS_POLICY ">=")

set(kp_dev_depends "${KP_DEB_RUNTIME} (= ${PROJECT_VERSION})" ${KP_DEBIAN_DEV_DEPENDS})
list(JOIN kp_dev_depends ", " kp_dev_depends)
set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_NAME libkpquaslet-dev)
set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_SECTION libdevel)
set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_DEPENDS "${kp_dev_depends}")
# The test fixture header includes GoogleTest; the build files serve CMake and pkg-config.
set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_SUGGESTS "cmake, pkg-config, libgtest-dev")
set(CPACK_DEBIAN_DEVELOPMENT_DESCRIPTION "KPQuaslet utility framework (development files)
${kp_about}

This package holds the headers, the CMake package (find_package(KPQuaslet))
and the pkg-config file (kpquaslet).")

include(CPack)
