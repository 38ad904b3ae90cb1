#pragma once

#include <optional>

// An index of the diagnostics, or nothing where it is undefined (a zero variance, an empty group, too
// few items). Reports show an undefined index as such, never as a number.
using Index = std::optional<double>;
