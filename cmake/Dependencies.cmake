# Every third-party library the build uses, found once and gathered in the
# interface target kp_deps. The packages come from scripts/setup.sh.
find_package(Threads REQUIRED)
find_package(PkgConfig REQUIRED)
find_package(ICU 72 REQUIRED COMPONENTS uc i18n data)
find_package(nlohmann_json 3 REQUIRED)
find_package(JPEG REQUIRED)
find_package(PNG REQUIRED)
pkg_check_modules(CAIRO REQUIRED IMPORTED_TARGET cairo)
find_package(dlib 19 CONFIG REQUIRED)
find_package(SQLite3 3.20 REQUIRED)
pkg_check_modules(FFMPEG REQUIRED IMPORTED_TARGET libavformat libavcodec libswscale libavutil)
# oneTBB is the yardstick of the dispatch benchmark, linked to that benchmark only: the
# dispatch engine is our own.
if(KP_BUILD_BENCHMARKS)
  find_package(TBB 2021 REQUIRED COMPONENTS tbb)
endif()

add_library(kp_deps INTERFACE)
target_link_libraries(kp_deps INTERFACE
  ICU::uc ICU::i18n ICU::data
  nlohmann_json::nlohmann_json
  JPEG::JPEG PNG::PNG PkgConfig::CAIRO PkgConfig::FFMPEG)

# Used inside the stand-in only (its face detector and its keychain database); nothing
# above it sees dlib or SQLite.
add_library(kp_private_deps INTERFACE)
target_link_libraries(kp_private_deps INTERFACE dlib::dlib SQLite::SQLite3)
