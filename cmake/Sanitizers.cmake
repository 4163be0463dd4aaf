# RKVT_SANITIZER: empty, "address" (ASan + UBSan) or "thread" (TSan).
set(RKVT_SANITIZER "" CACHE STRING "Sanitizer build: empty, address or thread")

if(RKVT_SANITIZER STREQUAL "address")
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
elseif(RKVT_SANITIZER STREQUAL "thread")
  add_compile_options(-fsanitize=thread -fno-omit-frame-pointer)
  add_link_options(-fsanitize=thread)
elseif(NOT RKVT_SANITIZER STREQUAL "")
  message(FATAL_ERROR "RKVT_SANITIZER must be empty, address or thread")
endif()
