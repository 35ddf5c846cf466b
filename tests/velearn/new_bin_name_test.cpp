#include "velearn/new_bin_name.h"

#include <gtest/gtest.h>

namespace vantor {
namespace {

TEST(NewBinNameTest, ProposalReplacesANumberedSuffix) {
  EXPECT_EQ(ProposeNewBinName("base_00012.bin", 12), "base_00013.bin");
  EXPECT_EQ(ProposeNewBinName("base_v2.bin", 0), "base_v2_00001.bin");
  EXPECT_EQ(ProposeNewBinName("base_.bin", 4), "base_00005.bin");  // nothing after '_' counts as digits
  EXPECT_EQ(ProposeNewBinName("tune", 7), "tune_00008.bin");       // no extension: .bin
  EXPECT_EQ(ProposeNewBinName("tune.BIN", 1), "tune_00002.BIN");   // the source's extension stays
  EXPECT_EQ(ProposeNewBinName("tune_65535.bin", 65535), "tune_00000.bin");  // wraps as the stored word
}

TEST(NewBinNameTest, ChosenNameGetsAnExtension) {
  EXPECT_EQ(NormalizeNewBinName("/home/x/new."), "/home/x/new.bin");
  EXPECT_EQ(NormalizeNewBinName("/home/x.y/new"), "/home/x.y/new.bin");
  EXPECT_EQ(NormalizeNewBinName("/home/x/new.bin"), "/home/x/new.bin");
}

}  // namespace
}  // namespace vantor
