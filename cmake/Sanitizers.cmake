# RKVT_SANITIZER: empty, "address" (ASan + UBSan) or "thread" (TSan).
set(RKVT_SANITIZER "" CACHE STRING "Sanitizer build: empty, address or thread")

if(RKVT_SANITIZER STREQUAL "address")
  # Without the null checks: under them g++ no longer takes "function address ==
  # nullptr" as a constant expression, which the tables' compile-time checks use.
  # A null dereference still ends in ASan's report.
  add_compile_options(-fsanitize=address,undefined -fno-sanitize=null,nonnull-attribute,returns-nonnull-attribute
                      -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
elseif(RKVT_SANITIZER STREQUAL "thread")
  add_compile_options(-fsanitize=thread -fno-omit-frame-pointer)
  add_link_options(-fsanitize=thread)
elseif(NOT RKVT_SANITIZER STREQUAL "")
  message(FATAL_ERROR "RKVT_SANITIZER must be empty, address or thread")
endif()
