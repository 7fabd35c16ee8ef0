#include "model/check_status.h"

#include "model/edition.h"
#include "model/exceptions.h"
#include "numerics/context.h"

namespace kavi::model {

std::string StatusMessage(int code) {
  const char* text = "Unexpected exception in fortran code";
  switch (code) {
    case 2:
      text = "Too large obstacle list";
      break;
    case 3:
      text = "Obstacles ignored";
      break;
    case 4:
      text = "Unable to open file";
      break;
    case 5:
      text = "Error in map file";
      break;
    case 6:
      text = "Too large map file";
      break;
    case 7:
      text = "Interpolation radius too small";
      break;
    case 8:
      text = "Error in VEMOWORK.TMP";
      break;
    default:
      break;
  }
  return std::string(CurrentEdition().messagePrefix) + text;
}

void CheckStatus(numerics::Context& core, const std::string& context) {
  int& status = core.status;
  const int code = status;
  if (code == 0) return;
  status = 0;
  if (code >= 2 && code <= 8) throw RuntimeError(context, StatusMessage(code));
  throw FortranException(context, StatusMessage(code));
}

}  // namespace kavi::model
