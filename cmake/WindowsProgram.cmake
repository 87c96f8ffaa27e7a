# ostrel_windows_program(target): a Windows program in one small self-contained file, with only
# the system's own imports and no C++ runtime DLLs beside it.
function(ostrel_windows_program target)
  # Plain procedural code: no exceptions, no run-time types; every function in a section of its
  # own so that the linker drops what the program does not call. Not every datum: the linker would
  # put each zero-filled buffer in a section of its own into .data, and so into the file.
  target_compile_options(${target} PRIVATE -Os -fno-exceptions -fno-rtti -ffunction-sections)
  target_link_options(${target} PRIVATE -static -Os -s -Wl,--gc-sections)
  # Nothing in the program throws, yet the number conversions bring in the exception support, and
  # with it the verbose terminate handler and its name demangler (46 KB): terminate plainly instead.
  set(prefix "")
  if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    set(prefix _)  # 32-bit Windows names carry a leading underscore
  endif()
  target_link_options(${target} PRIVATE
    -Wl,--defsym,${prefix}_ZN9__gnu_cxx27__verbose_terminate_handlerEv=${prefix}abort)
endfunction()
