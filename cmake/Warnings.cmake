# Interface targets that every library and executable of the project links.
set(TESSELAR_WARNING_FLAGS
  -Wall               # the common set
  -Wextra             # unused parameters, sign compares and the like
  -Wpedantic          # stay within ISO C++
  -Wshadow            # a local that hides a member has bitten map code before
  -Wnon-virtual-dtor  # interfaces are deleted through base pointers
  -Woverloaded-virtual
  -Wnull-dereference
  -Wimplicit-fallthrough
)
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
  # GCC 12 reports std::string concatenation at -O3 as overlapping memcpy
  # (GCC bug 105329): a false alarm on every "a" + b.
  list(APPEND TESSELAR_WARNING_FLAGS -Wno-restrict)
endif()
if(TESSELAR_WERROR)
  list(APPEND TESSELAR_WARNING_FLAGS -Werror)
endif()

add_library(tesselar_warnings INTERFACE)
target_compile_options(tesselar_warnings INTERFACE ${TESSELAR_WARNING_FLAGS}
  -Wconversion        # map words are 16-bit: narrowing must be spelled out
  -Wsign-conversion   # offsets from files are unsigned, counts signed
)

# Tests keep the warnings but not the conversion checks: random words and
# hand-built streams are full of deliberate narrowing.
add_library(tesselar_test_warnings INTERFACE)
target_compile_options(tesselar_test_warnings INTERFACE ${TESSELAR_WARNING_FLAGS})
