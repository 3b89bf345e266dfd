// libjpeg's API header, which needs size_t and FILE declared before it.
#pragma once

// clang-format off
#include <cstddef>
#include <cstdio>
#include <jpeglib.h>
// clang-format on
