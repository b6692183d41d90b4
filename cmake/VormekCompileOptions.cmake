# Warnings for every target of the project.
add_compile_options(-Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor -Wcast-align
                    -Wunused -Woverloaded-virtual -Wimplicit-fallthrough)
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

# GCC 12 reports impossible overlapping copies inside std::string at -O2
# (-Wrestrict false positives in libstdc++'s own code); keep the warning off
# so that optimised builds with -Werror stay usable.
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
  add_compile_options(-Wno-restrict)
endif()

# Debian's hardening, as dpkg-buildflags gives it to a package: stack
# protector, format checks, fortified C library calls (they need an optimised
# build) and a read-only relocation table bound at start-up (relro, bindnow).
# Position-independent executables are the compiler's default on Debian.
option(VORMEK_HARDENING "Build with Debian's hardening flags" ON)
if(VORMEK_HARDENING)
  add_compile_options(-fstack-protector-strong -Wformat -Werror=format-security)
  add_compile_definitions($<$<CONFIG:Release,RelWithDebInfo,MinSizeRel>:_FORTIFY_SOURCE=2>)
  add_link_options(LINKER:-z,relro LINKER:-z,now)
endif()
