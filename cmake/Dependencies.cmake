# Every third-party library the build uses, found once. The packages come from
# scripts/setup.sh. There are two kinds:
#
#  - public: an installed header includes it, or a consumer needs it to link. Found
#    with kp_public_package(), which also records the find_dependency() call that the
#    installed package config (cmake/KPQuasletConfig.cmake.in) repeats for consumers,
#    the pkg-config module that kpquaslet.pc requires and the Debian package that the
#    development package depends on. Linked PUBLIC from KP_PUBLIC_LIBRARIES.
#  - private: used inside the libraries' sources only (ICU, cairo, Pango with
#    fontconfig and HarfBuzz, the codecs, FFmpeg, dlib, SQLite). Gathered in the interface target kp_private_deps, linked PRIVATE; a shared
#    library's consumers need neither their headers nor a find_dependency() for them.
#    The white-box tests and the benchmarks' raw-library baselines link it too.
find_package(PkgConfig REQUIRED)

set(KP_PUBLIC_LIBRARIES "")
set(KP_PACKAGE_DEPENDENCIES "")
set(KP_PKGCONFIG_REQUIRES "")
set(KP_DEBIAN_DEV_DEPENDS "")

# kp_public_package(<find_package arguments> TARGETS <imported targets>
#                   [PKGCONFIG <module>] [DEBIAN <development package>])
macro(kp_public_package)
  cmake_parse_arguments(_kp_pub "" "PKGCONFIG;DEBIAN" "TARGETS" ${ARGN})
  find_package(${_kp_pub_UNPARSED_ARGUMENTS} REQUIRED)
  list(APPEND KP_PUBLIC_LIBRARIES ${_kp_pub_TARGETS})
  list(JOIN _kp_pub_UNPARSED_ARGUMENTS " " _kp_pub_args)
  string(APPEND KP_PACKAGE_DEPENDENCIES "find_dependency(${_kp_pub_args})\n")
  if(_kp_pub_PKGCONFIG)
    list(APPEND KP_PKGCONFIG_REQUIRES ${_kp_pub_PKGCONFIG})
  endif()
  if(_kp_pub_DEBIAN)
    list(APPEND KP_DEBIAN_DEV_DEPENDS ${_kp_pub_DEBIAN})
  endif()
endmacro()

# Public. JSONCoder.h and NSKeyedArchiver.h include nlohmann-json; the timer and delay
# headers lock mutexes in inline code.
kp_public_package(Threads TARGETS Threads::Threads)
kp_public_package(nlohmann_json 3 TARGETS nlohmann_json::nlohmann_json
  PKGCONFIG nlohmann_json DEBIAN nlohmann-json3-dev)

# Private.
find_package(ICU 72 REQUIRED COMPONENTS uc i18n data)
find_package(JPEG REQUIRED)
find_package(PNG REQUIRED)
pkg_check_modules(CAIRO REQUIRED IMPORTED_TARGET cairo)
# Text: pangocairo lays out and draws, fontconfig (through pangoft2's font map) finds
# the pinned font files, HarfBuzz shapes and reads the fonts' own metrics.
pkg_check_modules(PANGO REQUIRED IMPORTED_TARGET pangocairo pangoft2 fontconfig harfbuzz)
find_package(dlib 19 CONFIG REQUIRED)
find_package(SQLite3 3.20 REQUIRED)
pkg_check_modules(FFMPEG REQUIRED IMPORTED_TARGET libavformat libavcodec libswscale libavutil)
# oneTBB is the yardstick of the dispatch benchmark, linked to that benchmark only: the
# dispatch engine is our own.
if(KP_BUILD_BENCHMARKS)
  find_package(TBB 2021 REQUIRED COMPONENTS tbb)
endif()

add_library(kp_private_deps INTERFACE)
target_link_libraries(kp_private_deps INTERFACE
  ICU::uc ICU::i18n ICU::data
  JPEG::JPEG PNG::PNG PkgConfig::CAIRO PkgConfig::PANGO PkgConfig::FFMPEG
  dlib::dlib SQLite::SQLite3)
