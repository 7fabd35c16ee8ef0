// The status word of the numerical core becomes an exception once, with the
// message of its code and the step's name.
#include <gtest/gtest.h>

#include "model/check_status.h"
#include "model/exceptions.h"
#include "numerics/numerical_state.h"
#include "numerics/support/test_core.h"

namespace kavi::model {
namespace {

std::string Narrow(const std::u16string& s) { return std::string(s.begin(), s.end()); }

TEST(CheckStatus, KnownCodesRaiseRuntimeErrorsWithTheirMessages) {
  const std::pair<int, const char*> table[] = {
      {2, "Kavicalc: Too large obstacle list"}, {3, "Kavicalc: Obstacles ignored"},
      {4, "Kavicalc: Unable to open file"},     {5, "Kavicalc: Error in map file"},
      {6, "Kavicalc: Too large map file"},      {7, "Kavicalc: Interpolation radius too small"},
      {8, "Kavicalc: Error in VEMOWORK.TMP"},
  };
  for (const auto& [code, message] : table) {
    TestCore().status = code;
    try {
      CheckStatus(TestCore(), "CAtlas::Load");
      FAIL() << "code " << code << " passed";
    } catch (const FortranException&) {
      FAIL() << "code " << code << " is not unexpected";
    } catch (const RuntimeError& e) {
      EXPECT_EQ(Narrow(e.description()), message);
      EXPECT_EQ(Narrow(e.context()), "CAtlas::Load");
      EXPECT_EQ(e.code(), static_cast<HRESULT>(0x800403E8));
    }
    EXPECT_EQ(TestCore().status, 0);  // reported once
    EXPECT_NO_THROW(CheckStatus(TestCore(), "CAtlas::Save"));
  }
}

TEST(CheckStatus, AnyOtherCodeIsAnUnexpectedFailure) {
  for (int code : {1, 9, -1, 1000}) {
    TestCore().status = code;
    try {
      CheckStatus(TestCore(), "CZoomingGrid");
      FAIL() << "code " << code << " passed";
    } catch (const FortranException& e) {
      EXPECT_EQ(Narrow(e.description()), "Kavicalc: Unexpected exception in fortran code");
      EXPECT_EQ(e.code(), static_cast<HRESULT>(0x800403EB));
    }
    EXPECT_EQ(TestCore().status, 0);
  }
  TestCore().status = 0;
  EXPECT_NO_THROW(CheckStatus(TestCore(), "CZoomingGrid"));
}

TEST(Exceptions, CarryTheirCodes) {
  EXPECT_EQ(LogicError("CVemoMap::Load", "MINPUT returned bad value").code(),
            static_cast<HRESULT>(0x800407D0));
  const RuntimeError original("CAtlas::Load", "Too many sectors");
  const RuntimeError copy = original;  // deep copy of both texts
  EXPECT_EQ(Narrow(copy.description()), "Too many sectors");
  EXPECT_EQ(Narrow(copy.context()), "CAtlas::Load");
}

}  // namespace
}  // namespace kavi::model
