# kp_public_headers(<target> <folder> INTERNAL <header>...)
#
# Gives <target> a public header set: every header under <folder> outside its internal/
# folders, plus the internal headers named after INTERNAL, which are the ones a public
# header includes (templates and inline code need them). The set's base is the
# repository root, so that the includes stay "KPQuaslet/..." and "platform/..." both in
# this tree and once installed. Internal headers included only by the sources stay out
# of the set and are not installed; tests/install checks that the set is complete and
# holds no internal header that no public one reaches.
function(kp_public_headers target folder)
  cmake_parse_arguments(PARSE_ARGV 2 arg "" "" "INTERNAL")
  file(GLOB_RECURSE headers CONFIGURE_DEPENDS RELATIVE ${PROJECT_SOURCE_DIR}
       ${PROJECT_SOURCE_DIR}/${folder}/*.h)
  list(FILTER headers EXCLUDE REGEX "/internal/")
  list(APPEND headers ${arg_INTERNAL})
  list(TRANSFORM headers PREPEND ${PROJECT_SOURCE_DIR}/)
  target_sources(${target} PUBLIC
    FILE_SET HEADERS BASE_DIRS ${PROJECT_SOURCE_DIR} FILES ${headers})
endfunction()
