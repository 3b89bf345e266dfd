// Names parameterised cases after their table row's Name.
#pragma once

#include <gtest/gtest.h>

#include <string>

struct TCaseName {
  template <typename T>
  std::string operator()(const testing::TestParamInfo<T>& row) const {
    return row.param.Name;
  }
};
