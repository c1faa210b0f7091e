# Compiler settings shared by every target of the project: the language level and
# the warnings are set on targets, not globally, so that imported code is untouched.
function(ravlen_target_options target)
  target_compile_features(${target} PUBLIC cxx_std_20)
  set_target_properties(${target} PROPERTIES CXX_EXTENSIONS OFF)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Werror=switch)
  if(RAVLEN_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
  if(RAVLEN_SANITIZE)
    target_compile_options(${target} PRIVATE -fsanitize=address,undefined -fno-omit-frame-pointer
                                             -fno-sanitize-recover=undefined)
    target_link_options(${target} PRIVATE -fsanitize=address,undefined)
  endif()
endfunction()
