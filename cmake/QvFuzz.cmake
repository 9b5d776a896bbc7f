# libFuzzer harnesses: built only when QV_FUZZ is on and the compiler (clang) links its fuzzer
# runtime; never part of the test run. Configure a build of their own, for instance
#   CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DQV_FUZZ=ON -DQV_BENCH=OFF
# The top CMakeLists.txt holds the QV_FUZZ option and checks for the runtime (QV_HAVE_FUZZER);
# with it on, every library is built with coverage instrumentation and AddressSanitizer.
set(QV_FUZZ_READY OFF)
if(QV_FUZZ AND QV_HAVE_FUZZER)
  set(QV_FUZZ_READY ON)
endif()

# qv_fuzz_target(<name> SOURCES ... [LIBS ...]): a harness build/fuzz/<name> whose sources (the
# code under test among them, so that it carries the fuzzer's coverage) are built with
# ASan and UBSan.
function(qv_fuzz_target name)
  if(NOT QV_FUZZ_READY)
    return()
  endif()
  cmake_parse_arguments(F "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${F_SOURCES})
  set(_flags -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined
      -fno-omit-frame-pointer)
  target_compile_options(${name} PRIVATE ${_flags})
  target_link_options(${name} PRIVATE ${_flags})
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR})
  target_link_libraries(${name} PRIVATE ${F_LIBS} Threads::Threads)
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${PROJECT_BINARY_DIR}/fuzz)
endfunction()
