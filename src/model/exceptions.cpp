#include "model/exceptions.h"

#include <kavi/runtime.h>

namespace kavi::model {

Exception::Exception(const std::string& context, const std::string& message, HRESULT code)
    : description_(NarrowToUtf16(message)), context_(NarrowToUtf16(context)), code_(code) {}

}  // namespace kavi::model
