# One interface target carries the warnings, sanitizer flags and Qt defines
# for every target of the project.
add_library(splicora_common INTERFACE)
target_compile_definitions(splicora_common INTERFACE
    QT_NO_NARROWING_CONVERSIONS_IN_CONNECT
    QT_NO_FOREACH
    SPLICORA_VERSION="${PROJECT_VERSION}")
if(CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang")
    target_compile_options(splicora_common INTERFACE -Wall -Wextra -Wpedantic)
endif()
if(MSVC)
    target_compile_options(splicora_common INTERFACE /W4 /utf-8)
endif()
if(SPLICORA_FUZZ)
    # Everything the drivers reach is instrumented for coverage and checked.
    target_compile_options(splicora_common INTERFACE
        -fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer
        -fno-sanitize-recover=undefined)
    target_link_options(splicora_common INTERFACE -fsanitize=address,undefined)
endif()
if(SPLICORA_SANITIZE)
    target_compile_options(splicora_common INTERFACE
        -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
    target_link_options(splicora_common INTERFACE -fsanitize=address,undefined)
endif()
