# One warning set for every target of ours, errors included, in every preset.
add_library(ostrel_warnings INTERFACE)
target_compile_options(ostrel_warnings INTERFACE
  -Wall -Wextra -Wpedantic -Wconversion -Wsign-conversion -Wshadow -Wcast-qual
  -Wformat=2 -Wundef -Wold-style-cast -Werror)
