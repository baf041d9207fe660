#pragma once

#include <cstdio>
#include <cstdlib>

// A broken property is a finding: say which and abort, so the fuzzer keeps
// the input and the corpus replay fails on it.
#define FUZZ_CHECK(condition)                                                                      \
  do {                                                                                             \
    if (!(condition)) {                                                                            \
      std::fprintf(stderr, "%s:%d: property broken: %s\n", __FILE__, __LINE__, #condition);        \
      std::abort();                                                                                \
    }                                                                                              \
  } while (0)
