# SPDX-License-Identifier: GPL-3.0-or-later
# The version every program reports: the project's version, followed in a
# git checkout by the commit it was built from (git describe: the last tag,
# the commits since and the abbreviated hash, "-dirty" with uncommitted
# changes). Configuring again rewrites the generated header only when its
# text changes, so nothing is rebuilt for an unchanged checkout; a new commit
# configures again on the next build.
set(DISPFIT_VERSION_TEXT ${PROJECT_VERSION})
find_package(Git QUIET)
if(GIT_FOUND)
  execute_process(COMMAND ${GIT_EXECUTABLE} rev-parse --absolute-git-dir
                  WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
                  OUTPUT_VARIABLE _dispfit_git_dir OUTPUT_STRIP_TRAILING_WHITESPACE
                  RESULT_VARIABLE _dispfit_git_status ERROR_QUIET)
  if(_dispfit_git_status EQUAL 0)
    execute_process(COMMAND ${GIT_EXECUTABLE} describe --tags --always --dirty
                    WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
                    OUTPUT_VARIABLE _dispfit_described OUTPUT_STRIP_TRAILING_WHITESPACE
                    RESULT_VARIABLE _dispfit_git_status ERROR_QUIET)
    if(_dispfit_git_status EQUAL 0 AND _dispfit_described)
      string(APPEND DISPFIT_VERSION_TEXT " (${_dispfit_described})")
    endif()
    if(EXISTS ${_dispfit_git_dir}/logs/HEAD)
      set_property(DIRECTORY ${PROJECT_SOURCE_DIR} APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS
                   ${_dispfit_git_dir}/logs/HEAD)
    endif()
  endif()
endif()
configure_file(${CMAKE_CURRENT_LIST_DIR}/program_version.h.in
               ${PROJECT_BINARY_DIR}/generated/program_version_text.h @ONLY)
