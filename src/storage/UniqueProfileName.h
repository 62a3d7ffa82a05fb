// A new profile's name that no profile has yet.
#pragma once

#include <string>
#include <vector>

// "<base> <n>" for the first n = 1, 2, ... not equal (exactly, case-sensitively) to any of the
// names; gives up at n = 1000 and returns that candidate.
std::wstring MakeUniqueProfileName(const std::wstring& base,
                                   const std::vector<std::wstring>& names);
