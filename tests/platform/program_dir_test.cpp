#include "platform/program_dir.h"

#include <gtest/gtest.h>

namespace vantor {
namespace {

TEST(ProgramDirectory, IsTheTestProgramsFolderWithATrailingSeparator) {
  const std::filesystem::path dir = ProgramDirectory();
  ASSERT_FALSE(dir.empty());
  const std::string text = dir.string();
  EXPECT_EQ(text.back(), static_cast<char>(std::filesystem::path::preferred_separator));
  EXPECT_TRUE(std::filesystem::equivalent(dir, std::filesystem::path(VANTOR_BINARY_DIR) / "tests"));
  EXPECT_TRUE(std::filesystem::exists(dir / "test_platform"));
}

}  // namespace
}  // namespace vantor
