// Faults that end a run or refuse a Start besides the model arithmetic
// (sim::ArithmeticError): a field text that does not read as a number, and a
// coordinate that a drawing surface cannot take.
#pragma once

#include <stdexcept>

#include "app/controls.h"

namespace app {

class InputError : public std::runtime_error {
public:
    explicit InputError(Field f) : std::runtime_error("field text is not a number"), field(f) {}
    Field field;  // the field that was refused
};

class DrawError : public std::runtime_error {
public:
    DrawError() : std::runtime_error("coordinate cannot be drawn") {}
};

}  // namespace app
