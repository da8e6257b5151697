# AddressSanitizer and UBSan for the whole build; the suite runs under them in CI.
if(TESSELAR_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
endif()

# Coverage for the fuzzers in every library they link.
if(TESSELAR_FUZZ)
  add_compile_options(-fsanitize=fuzzer-no-link)
endif()
