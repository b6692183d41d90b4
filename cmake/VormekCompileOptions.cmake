# Warnings for every target of the project.
add_compile_options(-Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor -Wcast-align
                    -Wunused -Woverloaded-virtual -Wnull-dereference -Wimplicit-fallthrough)
if(VORMEK_WERROR)
  add_compile_options(-Werror)
endif()

if(VORMEK_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=all)
  add_link_options(-fsanitize=address,undefined)
endif()

# The timetable's text is GBK. Code that spells Chinese text in narrow string
# literals (the core, its tools and its tests) links this target, so that the
# UTF-8 sources compile to GBK bytes. Qt code must not link it: Qt reads
# narrow literals as UTF-8.
add_library(vormek_gbk_literals INTERFACE)
target_compile_options(vormek_gbk_literals INTERFACE -finput-charset=UTF-8 -fexec-charset=GBK)
