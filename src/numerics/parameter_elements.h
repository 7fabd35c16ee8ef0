// Names of the elements of the parameter vector that the routines read
// (element n at index n - 1), made from the parameter table, where each row
// gives the element's configuration ID if it has one, its default, unit and
// meaning.
#pragma once

namespace kavi::numerics {

enum Element : int {
#define KAVI_NAMED(element, name, id, type, value, minimum, maximum, unit, meaning) name = element,
#define KAVI_FIXED(element, name, type, value, unit, meaning) name = element,
#define KAVI_UNREAD(element, value)
#include "parameters/parameter_table.def"
};

}  // namespace kavi::numerics
