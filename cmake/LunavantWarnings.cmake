# SPDX-License-Identifier: MIT
# lunavant_set_warnings(target): the warning set every target of ours is built with.
function(lunavant_set_warnings target)
  target_compile_options(${target} PRIVATE
    $<$<CXX_COMPILER_ID:GNU,Clang>:-Wall -Wextra -Wpedantic -Wshadow -Wconversion -Wno-sign-conversion>
    $<$<AND:$<BOOL:${LUNAVANT_WERROR}>,$<CXX_COMPILER_ID:GNU,Clang>>:-Werror>)
endfunction()
