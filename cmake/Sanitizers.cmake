if(TESSVANE_SANITIZE)
  set(_san -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
  add_compile_options(${_san})
  add_link_options(${_san})
endif()

# Fuzzing instruments every library for coverage; only the fuzz targets link libFuzzer's main.
if(TESSVANE_FUZZ)
  set(_fuzz_san -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
  add_compile_options(-fsanitize=fuzzer-no-link ${_fuzz_san})
  add_link_options(${_fuzz_san})
endif()
