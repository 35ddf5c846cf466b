#include "update/bank_update.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <memory>
#include <random>

#include "cal/message_pane.h"
#include "support/pane_recorder.h"
#include "update/update_run.h"
#include "support/update_world.h"

namespace vantor {
namespace {

namespace fs = std::filesystem;
using test::Packet;
using Texts = std::vector<std::string>;

TEST(UpdateRun, FullRunSendsEveryPacketInOrderAndUpdatesEveryBank) {
  test::UpdateWorld world(1);
  ASSERT_TRUE(world.rig.Open());
  MessagePane pane(UpdatePaneStyle());
  test::PaneRecorder lines;
  pane.SetLineHook([&](Rgb colour, std::string_view text) { lines.AddLine(colour, text); });
  ASSERT_EQ(RunUpdate(world.rig.link, pane, world.run), 0);
  EXPECT_EQ(world.rig.tap->Packets(), test::FullUpdatePackets(world));

  EXPECT_EQ(lines.Texts().back(), "    -Update Successful-");
  int updated = 0;
  for (const auto& line : lines.Lines())
    updated += line.text == "Bank Updated/Verified Successfully" && line.background == MakeRgb(103, 245, 103);
  EXPECT_EQ(updated, 7);

  for (int bank = 0; bank < kBankCount; ++bank) {
    const auto permissions = fs::status(OldBankPath(world.dir.Path(), bank)).permissions();
    EXPECT_EQ(permissions & fs::perms::owner_write, fs::perms::none) << bank;
    const auto old = test::ReadAll(OldBankPath(world.dir.Path(), bank));
    ASSERT_EQ(old.size(), kCalImageSize);
    EXPECT_EQ(test::SumBytes(old, 8, kCalImageSize - 1), test::StoredChecksum(old));
    EXPECT_EQ(fs::exists(NewBankPath(world.dir.Path(), bank)), bank != 0);
  }
}

// One cut of an update run: the n-th packet of the run (from 0) with this
// command byte and first data byte (-1: any) is refused, or altered by `alter`.
struct Cut {
  const char* name;
  std::uint8_t command;
  int first, occurrence;
  const char* message;
  void (*alter)(Packet&) = nullptr;
};

bool IsOldFileWholeOrAbsent(const std::string& directory, int bank) {
  const std::string old = OldBankPath(directory, bank);
  return !fs::exists(old + ".part") && (!fs::exists(old) || fs::file_size(old) == kCalImageSize);
}

// Each run is cut at a later step and the next one carries on from what the
// earlier runs left: kept old files, banks already updated, banks half done.
TEST(UpdateRun, RunsCutAtEveryStepEndWithEveryBankUpdatedAndASecondRunSkipsThem) {
  const Cut cuts[] = {
      {"read of bank 3", 1, 3, 0, "TxSlRequestCal Failed"},
      {"check of bank 1", 1, 1, 0, "TxSlReqstPage Failed"},
      {"erase of bank 2", 2, 2 * 8 + 3, 0, "TxSlEraseSector Failed"},
      // a byte the module takes but the code verify must catch
      {"code page 100 of bank 2", 7, 100, 0, "Verify Failed  ",
       [](Packet& packet) { test::ChangeByteKeepingCheck(packet, 2 + 1 + 5, 0x40); }},
      {"calibration page of bank 2", 7, 30, 0, "TxSlPgmPage Failed"},
      {"calibration verify of bank 4", 1, 4, 1, "TxSlRequestCal Failed"},
      {"code verify of bank 6", 3, 6, 0, "TxSlRequestBin Failed  "},
      {"page zero of bank 7", 7, 0, 1, "TxSlPgmPage Failed"},
      {"final stop", 4, -1, 0, "TxSlStop Failed"},
  };
  test::UpdateWorld world(3);
  ASSERT_TRUE(world.rig.Open());
  for (const Cut& cut : cuts) {
    SCOPED_TRACE(cut.name);
    auto seen = std::make_shared<int>(0);
    auto at = std::make_shared<std::atomic<std::size_t>>(0);
    world.rig.tap->Forget();
    world.rig.tap->SetHook([&cut, seen, at](std::size_t index, Packet& packet) {
      if (packet[0] != 'S' || packet[1] != cut.command || (cut.first >= 0 && packet[2] != cut.first) ||
          (*seen)++ != cut.occurrence)
        return;
      at->store(index);
      if (cut.alter) cut.alter(packet); else packet.back() ^= 0x01;
    });
    test::PaneRecorder lines;
    ASSERT_EQ(UpdateAllBanks(world.rig.link, lines, world.run), -1);
    ASSERT_EQ(*seen, cut.occurrence + 1);
    const Texts texts = lines.Texts();
    EXPECT_NE(std::find(texts.begin(), texts.end(), cut.message), texts.end()) << texts.back();
    if (cut.command == 7 && !cut.alter) {
      EXPECT_EQ(texts.back(), "BIN Programing FAILED!");
    }
    // The altered page is taken: pages 101..255 and the verify follow, and page 0 is never written.
    const std::size_t after = cut.alter ? 155 + 1 : 0;
    EXPECT_EQ(world.rig.tap->Packets().size(), at->load() + 1 + after);
    EXPECT_TRUE(!cut.alter || world.rig.ecm.Bank(2)[9] == 0xFF);
    for (int bank = 0; bank < kBankCount; ++bank) EXPECT_TRUE(IsOldFileWholeOrAbsent(world.dir.Path(), bank)) << bank;
  }
  EXPECT_TRUE(world.AllBanksUpdated());

  world.rig.tap->SetHook(nullptr);
  world.rig.tap->Forget();
  const auto kept = test::ReadAll(OldBankPath(world.dir.Path(), 3));
  test::PaneRecorder again;
  ASSERT_EQ(UpdateAllBanks(world.rig.link, again, world.run), 0);
  const Texts texts = again.Texts();
  EXPECT_EQ(std::count(texts.begin(), texts.end(), "    -Calibration Exists-"), 8);
  EXPECT_EQ(std::count(texts.begin(), texts.end(), "Bank Already Updated"), 8);
  EXPECT_EQ(test::ReadAll(OldBankPath(world.dir.Path(), 3)), kept);
  EXPECT_EQ(world.rig.tap->Packets().size(), 2u + 8 * 2 + 1);  // X, F, Info and request per bank, stop
}

// What may lie in the folder before a run that the run must not trust: each
// stops the run before anything is erased.
struct Distrust {
  const char* name;
  void (*stage)(test::UpdateWorld& world);
  const char* message;  // kForeign at the bank's programming, else at its conversion
  int bank;
};

constexpr const char* kForeign = "Saved BIN Not From This ECM";
constexpr const char* kNotABin = "Not an ORV Flash BIN";

std::vector<std::uint8_t> RandomBytes(std::size_t count, unsigned seed) {
  std::mt19937 random(seed);
  std::vector<std::uint8_t> bytes(count);
  for (auto& byte : bytes) byte = static_cast<std::uint8_t>(random());
  return bytes;
}

const Distrust kDistrusted[] = {
    {"OneByteOfASavedPageDiffers",
     [](test::UpdateWorld& world) {
       auto saved = world.rig.ecm.Bank(1);
       saved[17 * 128 + 5] ^= 0x01;
       world.SaveOldFile(1, saved);
     },
     kForeign, 1},
    {"SavedFileOfRandomBytes", [](test::UpdateWorld& world) { world.SaveOldFile(2, RandomBytes(kCalImageSize, 6)); },
     kNotABin, 2},
    {"SavedFileOfTheCalibrationAlone",
     [](test::UpdateWorld& world) {
       auto saved = world.rig.ecm.Bank(3);
       saved.resize(kCalibrationSize);
       world.SaveOldFile(3, saved);
     },
     kNotABin, 3},
    {"StaleNewFileBesideASavedFileAt11",
     [](test::UpdateWorld& world) {
       std::filesystem::create_directories(world.run.directory);
       test::WriteAll(NewBankPath(world.run.directory, 0), RandomBytes(1000, 7));
     },
     kNotABin, 0},
};

void ExpectStopBeforeAnyErase(const Distrust& distrust) {
  test::UpdateWorld world(4);
  // A folder that does not exist yet, with a name too long for the pane.
  world.run.directory = (fs::path(world.dir.Path()) / std::string(100, 'f')).string();
  distrust.stage(world);
  ASSERT_TRUE(world.rig.Open());
  std::vector<std::vector<std::uint8_t>> before;
  for (int bank = 0; bank < kBankCount; ++bank) before.push_back(world.rig.ecm.Bank(bank));
  test::PaneRecorder lines;
  ASSERT_EQ(UpdateAllBanks(world.rig.link, lines, world.run), -1);

  for (const Packet& packet : world.rig.tap->Packets())
    EXPECT_FALSE(packet[0] == 'S' && (packet[1] == 2 || packet[1] == 4)) << "erase or stop sent";
  for (int bank = 0; bank < kBankCount; ++bank) EXPECT_EQ(world.rig.ecm.Bank(bank), before[bank]) << bank;
  const auto recorded = lines.Lines();
  const std::string message = distrust.message;
  const auto at =
      std::find_if(recorded.begin(), recorded.end(), [&](const auto& line) { return line.text == message; });
  ASSERT_NE(at, recorded.end());
  EXPECT_EQ((at - 1)->text, "Bank #: " + std::to_string(distrust.bank) + " ");
  if (message == kNotABin) {
    EXPECT_EQ(at + 1, recorded.end());
    return;
  }
  ASSERT_GE(recorded.end() - at, 3);
  EXPECT_EQ((at + 1)->text, "BIN Programing FAILED!");
  // Then what to do: move the saved files out of the folder, named in a line that fits the pane.
  bool folderNamed = false;
  for (auto line = at + 2; line != recorded.end(); ++line) {
    EXPECT_LE(line->text.size(), 80u) << line->text;
    folderNamed = folderNamed || (line->text.starts_with("  ...") && line->text.ends_with(std::string(60, 'f')));
  }
  EXPECT_TRUE(folderNamed);
  EXPECT_NE(recorded.back().text.find("read afresh"), std::string::npos);
}

TEST(UpdateRun, WhatTheFolderMustNotBeTrustedWithStopsTheRunBeforeAnyErase) {
  for (const Distrust& distrust : kDistrusted) {
    SCOPED_TRACE(distrust.name);
    ExpectStopBeforeAnyErase(distrust);
  }
}

TEST(UpdateRun, MissingFirmwareImageSendsNothing) {
  test::UpdateWorld world(6);
  ASSERT_TRUE(world.rig.Open());
  world.run.firmware = nullptr;
  test::PaneRecorder lines;
  EXPECT_EQ(UpdateAllBanks(world.rig.link, lines, world.run), -1);
  EXPECT_TRUE(world.rig.tap->Packets().empty());
}

}  // namespace
}  // namespace vantor
