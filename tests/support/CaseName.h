// Test-case names for parameterised suites: the case's own name with anything that
// GoogleTest does not accept turned into '_'.
#pragma once

#include <cctype>
#include <string>

struct CaseName {
  template <typename Info>
  std::string operator()(const Info& testInfo) const {
    std::string n = testInfo.param.name;
    for (char& ch : n)
      if (!std::isalnum(static_cast<unsigned char>(ch))) ch = '_';
    return n;
  }
};
