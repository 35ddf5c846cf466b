#include "link/commands.h"

#include <gtest/gtest.h>

#include <functional>

#include "open_link.h"

namespace vantor {
namespace {

using simtest::MsPacket;
using test::AckPayload;
using test::Bytes;
using test::MakeReply;
using test::OpenLink;
using Command = std::function<int(EcmLink&)>;

const LinkProfile& kMain = MainProgramProfile();
const LinkProfile& kUpdate = UpdateUtilityProfile();

// Command code and 129 data bytes of an "S" packet; its frame is SendSlPacket's.
Bytes SlBody(const Bytes& packet) {
  EXPECT_EQ(packet.size(), 133u);
  return packet.size() == 133 ? Bytes(packet.begin() + 1, packet.end() - 2) : Bytes();
}

// A command code and leading data bytes, blanks after them.
Bytes Body(std::uint8_t command, const Bytes& leading) {
  Bytes body(130, 0x20);
  body[0] = command;
  std::copy(leading.begin(), leading.end(), body.begin() + 1);
  return body;
}

// A stop and a flash empty the ring before they return, also without the main program's final pause.
TEST(MsCommands, SendTheProgramsStreamByteAndAStopOrAFlashEmptiesTheRing) {
  const struct {
    const LinkProfile* profile;
    int start, stop;
    std::uint8_t sent;
  } cases[] = {{&kMain, kStreamStart, kStreamStop, 0x66},
               {&kUpdate, 103, kStreamStart, 1}};  // only bit 0 goes: 102 is a stop
  for (const auto& c : cases) {
    OpenLink rig(*c.profile);
    ASSERT_EQ(rig.Run(TxMsXmit, c.start), 0);
    rig.Feed(Bytes(50, 0x55));
    ASSERT_EQ(rig.Run(TxMsXmit, c.stop), 0);
    EXPECT_EQ(rig.link.RxAvailable(), 0u);
    rig.Feed(Bytes(20, 0xAA));
    ASSERT_EQ(rig.Run(TxMsFlash), 0);
    EXPECT_FALSE(rig.link.RxResetPending());
    EXPECT_EQ(rig.link.RxAvailable(), 0u);
    EXPECT_EQ(rig.wire->Packets(), (std::vector<Bytes>{MsPacket('X', c.sent), MsPacket('X', 0), MsPacket('F', 0)}));
  }
}

TEST(BankCommand, SendsBankAnd7TwiceInTheMainProgramOnlyAndOneAcceptedSubmissionIsEnough) {
  OpenLink rig;
  ASSERT_EQ(rig.Run(TxMsBank, 9), 0);
  EXPECT_EQ(rig.wire->Packets(), std::vector<Bytes>(2, MsPacket('B', 1)));
  EXPECT_EQ(TxMsBank(rig.link, 4), 0);  // nobody writes the slot: the repeat is refused
  EXPECT_EQ(rig.Written(), MsPacket('B', 4));
  const Bytes busy{1};
  ASSERT_EQ(rig.link.SubmitPacket(busy.data(), 1), 0);
  EXPECT_EQ(TxMsBank(rig.link, 4), -1);
  OpenLink update(kUpdate);
  EXPECT_EQ(update.Run(TxMsBank, 3), -1);
  EXPECT_EQ(update.wire->PacketCount(), 0u);
}

// A refused send does not wait for a reply: the stopped LinkTick would never end one.
TEST(DisconnectedLink, EveryCommandFailsAtOnce) {
  test::LinkRig m;
  const int results[] = {TxMsXmit(m.link, kStreamStart), TxSlRequestCal(m.link, 0)};
  for (std::size_t i = 0; i < std::size(results); ++i) EXPECT_EQ(results[i], -1) << "command " << i;
  EXPECT_TRUE(m.sink.Lines().empty());
}

// What each "S" command sends, and which replies it takes (the acknowledgement check is shared).
TEST(SlCommands, SendTheirDataAndJudgeTheReply) {
  InfoParams job;
  job.bank = 6;
  job.p2 = 0x5A;
  const Command info = [&](EcmLink& l) { return TxSlInfo(l, job); };
  const Command erase = [](EcmLink& l) { return TxSlEraseSector(l, 2 * 8 + 1); };
  const Command cal4 = [](EcmLink& l) { return TxSlRequestCal(l, 4); };
  const Command bin4 = [](EcmLink& l) { return TxSlRequestBin(l, 4); };
  const Command stop = [](EcmLink& l) { return TxSlStop(l, true); };
  Bytes page(128);
  for (std::size_t i = 0; i < page.size(); ++i) page[i] = static_cast<std::uint8_t>(255 - i);
  const auto program = [&](int number, int bank) -> Command {
    return [&page, number, bank](EcmLink& l) { return TxSlPgmPage(l, number, bank, page.data()); };
  };
  Bytes pageBody{7, 12};
  pageBody.insert(pageBody.end(), page.begin(), page.end());
  const Bytes eraseData{17, ' ', 'E', 'r', 'a', 's', 'e', ' ', 'S', 'e', 'c', 't', 'o', 'r', ' ', ' ', ' ', 0};
  const Bytes calibration = MakeReply('C', Bytes(8193, 4));
  const struct {
    const char* name;
    const LinkProfile* profile;
    Command command;
    Bytes reply;
    int result;
    Bytes body;  // empty: not checked
  } cases[] = {
      {"info taken", &kMain, info, MakeReply('A', AckPayload(0, 6, 0, 0x5A)), 0, Body(0, {0x20, 6, 1, 0x5A, 1, 25})},
      {"info wrong echo", &kMain, info, MakeReply('A', AckPayload(0, 6, 0, 1)), -1, {}},
      {"erase taken", &kMain, erase, MakeReply('A', AckPayload(2, 0, 0, 0)), 0, Body(2, eraseData)},
      {"cal taken", &kMain, cal4, calibration, 0, Body(1, {4})},
      {"cal other bank", &kMain, [](EcmLink& l) { return TxSlRequestCal(l, 5); }, calibration, -1, {}},
      {"main bin is a cal", &kMain, bin4, calibration, 0, Body(1, {4})},
      {"update bin taken", &kUpdate, bin4, MakeReply('B', Bytes(32769, 4)), 0, Body(3, {4})},
      {"update bin given a cal", &kUpdate, bin4, calibration, -1, {}},
      {"stop taken", &kMain, stop, MakeReply('A', AckPayload(4, 0, 0, 0)), 0, Body(4, {})},
      {"stop unawaited", &kMain, [](EcmLink& l) { return TxSlStop(l, false); }, {}, 0, Body(4, {})},
      {"page taken", &kMain, program(12, 3), MakeReply('A', AckPayload(7, 3, 12, 0)), 0, pageBody},
      {"page other page", &kMain, program(11, 3), MakeReply('A', AckPayload(7, 3, 12, 0)), -1, {}},
      {"page other bank", &kMain, program(12, 2), MakeReply('A', AckPayload(7, 3, 12, 0)), -1, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    OpenLink rig(*c.profile);
    rig.AnswerSl(c.reply);
    EXPECT_EQ(rig.Run(c.command), c.result);
    if (!c.body.empty()) {
      EXPECT_EQ(SlBody(rig.wire->Packets().at(0)), c.body);
    }
    EXPECT_TRUE(rig.sink.Lines().empty());  // the callers report the failures
  }
  OpenLink rig;
  EXPECT_EQ(TxSlPgmPage(rig.link, 12, 3, nullptr), -1);
}

TEST(SlCommands, InfoFourthParameterRule) {
  OpenLink rig;
  rig.AnswerSl(MakeReply('A', AckPayload(0, 0, 0, 1)));
  const std::pair<std::uint8_t, std::uint8_t> cases[] = {{0, 0}, {1, 15}, {15, 15}, {16, 16}};
  for (const auto& [given, sent] : cases) {
    InfoParams params;
    params.p4 = given;
    ASSERT_EQ(rig.Run(TxSlInfo, params), 0);
    EXPECT_EQ(SlBody(rig.wire->Packets().back())[6], sent) << int(given);
  }
}

}  // namespace
}  // namespace vantor
