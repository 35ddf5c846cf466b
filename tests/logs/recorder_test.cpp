#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>

#include "support/analysis_test_support.h"
#include "support/log_builder.h"
#include "support/log_read_back.h"
#include "link/ecm_link.h"
#include "live/comm_thread.h"
#include "live/log_hooks.h"
#include "logs/data_log_recorder.h"
#include "settings/settings.h"
#include "settings/settings_io.h"
#include "support/test_ecm_support.h"

namespace vantor::testing {
namespace {

using simtest::WaitFor;

constexpr const char* kFixedDate = "07/20/2013 - 16:47:09";

// The header a recording starts with, for these settings and the fixed date.
std::string ExpectedLogHeader(Settings& settings) {
  return std::string("TIME: ") + kFixedDate + SettingsText(MainProgramSettingsTable(), &settings, kLogHeaderLineEnd);
}

// The recording side of the program on a fake serial line: the link, its log
// hooks, the communication thread and the recorder.
class RecordingRig {
 public:
  RecordingRig()
      : recorder(hooks, settings,
                 RecorderHooks{[this](const std::string& text, const std::string& caption) {
                                 std::lock_guard lock(messagesMutex_);
                                 messages_.push_back(text + "|" + caption);
                               },
                               [this](bool logging) { loggingStates.push_back(logging); }, nullptr}),
        comm(link, &hooks) {
    hooks.dateText = [] { return std::string(kFixedDate); };
    link.SetDeviceOpener([this](const std::string& name) { return opener.Open(name); });
    comm.Start();
  }
  ~RecordingRig() {
    recorder.StopDataLog();
    comm.Stop();
  }

  // Opens the fake port; false when it did not connect within the bound.
  bool Connect() {
    const std::string port = "SCRIPTED";
    link.RequestPort(PortOpen, &port);
    return WaitFor([this] { return link.Connected(); });
  }
  // Pushes bytes and waits until the communication thread took all of them.
  bool Feed(const std::vector<std::uint8_t>& bytes) {
    // A byte reaches the ring after the log, so the ring count shows it has
    // been through the log too. Nothing reads the ring here.
    const std::uint32_t target = link.RxAvailable() + static_cast<std::uint32_t>(bytes.size());
    wire->SendToHost(bytes);
    return WaitFor([&] { return link.RxAvailable() >= target; }) && WaitRequestsServed();
  }
  // Waits until the communication thread served every pending request.
  bool WaitRequestsServed() {
    return WaitFor([this] {
      return hooks.stampRequest.load() == 0 && hooks.markRequest.load() == 0 && hooks.flushRequest.load() == 0;
    });
  }
  // Each message shown, as "text|caption".
  std::vector<std::string> Messages() {
    std::lock_guard lock(messagesMutex_);
    return messages_;
  }
  std::string ExpectedHeader() { return ExpectedLogHeader(settings); }

  std::shared_ptr<test::FakeWire> wire = std::make_shared<test::FakeWire>();
  test::FakeOpener opener{wire};
  Settings settings;
  EcmLink link;
  LogHooks hooks;
  std::vector<bool> loggingStates;
  DataLogRecorder recorder;
  CommThread comm;

 private:
  std::mutex messagesMutex_;
  std::vector<std::string> messages_;
};


using testlog::FrameEnvelope;
using testlog::MarkedFrameData;
using testlog::ReadAll;
using testlog::ReadLogBack;

std::string AsText(const std::vector<std::uint8_t>& bytes) { return std::string(bytes.begin(), bytes.end()); }

class RecorderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    path_ = dir_ + "/drive.dat";
    ASSERT_TRUE(rig_.Connect());
  }
  testlog::TempDir scratch_;
  const std::string dir_ = scratch_.Path();
  std::string path_;
  RecordingRig rig_;
};

// The stream goes to the file unchanged after the header. A second recording
// is appended and counts its marks from 000 again; a start while logging
// keeps the running log.
TEST_F(RecorderTest, RecordingIsTheHeaderThenTheStreamAndASecondOneIsAppended) {
  const std::string header = rig_.ExpectedHeader();
  ASSERT_TRUE(rig_.recorder.StartDataLog(path_));
  EXPECT_TRUE(rig_.recorder.StartDataLog(dir_ + "/other.dat"));
  EXPECT_FALSE(std::filesystem::exists(dir_ + "/other.dat"));
  // The new log is remembered and is the Analysis default.
  EXPECT_EQ(rig_.settings.dlog, path_);
  EXPECT_EQ(rig_.settings.analysis, path_);
  const auto first = FrameEnvelope(MarkedFrameData(1)), second = FrameEnvelope(MarkedFrameData(2));
  const auto markThen = [&](const std::vector<std::uint8_t>& frame) {
    rig_.recorder.RequestMark();
    ASSERT_TRUE(rig_.WaitRequestsServed());
    ASSERT_TRUE(rig_.Feed(frame));
    rig_.recorder.StopDataLog();
  };
  ASSERT_TRUE(rig_.Feed(first));
  markThen(second);
  EXPECT_EQ(rig_.loggingStates, (std::vector<bool>{true, false}));
  const std::string mark0 = std::string("MARK000TIME: ") + kFixedDate;
  const std::string firstRecording = header + AsText(first) + mark0 + AsText(second);
  EXPECT_EQ(ReadAll(path_), firstRecording);

  const std::string secondHeader = rig_.ExpectedHeader();  // now naming this log
  ASSERT_TRUE(rig_.recorder.StartDataLog(path_));
  markThen(first);
  EXPECT_EQ(ReadAll(path_), firstRecording + secondHeader + mark0 + AsText(first));
}

TEST_F(RecorderTest, PauseHoldsTheWriterAndAStampResumesIt) {
  ASSERT_TRUE(rig_.recorder.StartDataLog(path_));
  EXPECT_TRUE(rig_.recorder.PauseFromKey());
  EXPECT_TRUE(rig_.recorder.PausedShown());
  EXPECT_EQ(rig_.hooks.writerPaused.load(), 1u);
  EXPECT_FALSE(rig_.recorder.PauseFromKey()) << "a second ENTER changes nothing";
  rig_.recorder.RequestTimeStamp();
  EXPECT_FALSE(rig_.recorder.PausedShown());
  EXPECT_EQ(rig_.hooks.writerPaused.load(), 0u);
}

TEST_F(RecorderTest, UnopenableFileIsReportedAndChangesNothingAndMarksAreIgnored) {
  const std::string bad = dir_ + "/missing/drive.dat";
  EXPECT_FALSE(rig_.recorder.StartDataLog(bad));
  EXPECT_EQ(rig_.Messages(), std::vector<std::string>{"Can not open Data Logging File|File Open Error"});
  EXPECT_TRUE(rig_.settings.dlog.empty());
  rig_.recorder.RequestMark();
  EXPECT_EQ(rig_.hooks.markRequest.load(), 0u);
}

// A recording is added only to an empty file or to a data log; anything
// else chosen by mistake (frames without a header, say) is refused and
// stays as it was.
TEST_F(RecorderTest, OnlyAnEmptyFileOrADataLogTakesARecording) {
  const std::string frame = AsText(FrameEnvelope(MarkedFrameData(1)));
  const std::string header = rig_.ExpectedHeader();
  const struct {
    const char* name;
    std::string content;
    bool taken;
  } cases[] = {{"empty", "", true},
               {"log", header + "junk" + frame, true},
               {"frames only", frame + frame, false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    test::WriteText(path_, c.content);
    const std::size_t shown = rig_.Messages().size();
    const std::string recording = rig_.ExpectedHeader();
    EXPECT_EQ(rig_.recorder.StartDataLog(path_), c.taken);
    rig_.recorder.StopDataLog();
    EXPECT_TRUE(ReadAll(path_) == c.content + (c.taken ? recording : ""));
    if (c.taken) continue;
    ASSERT_EQ(rig_.Messages().size(), shown + 1);
    EXPECT_EQ(rig_.Messages().back(), std::string(kLogNotADataLogText) + "|File Open Error");
  }
}

// ---- a full disk: the child process records under a file size limit ----

constexpr int kFramesBeforeLimit = 5;

int RecordUntilTheDiskIsFull(const std::string& path) {
  RecordingRig rig;
  if (!rig.Connect()) return 10;
  const std::size_t headerSize = rig.ExpectedHeader().size();
  rlimit limit{};
  limit.rlim_cur = limit.rlim_max = headerSize + kFramesBeforeLimit * kLogFrameSize + 100;
  if (setrlimit(RLIMIT_FSIZE, &limit) != 0) return 11;
  if (!rig.recorder.StartDataLog(path)) return 12;
  std::vector<std::uint8_t> stream;
  for (int i = 0; i < 40; ++i) {
    const auto frame = FrameEnvelope(MarkedFrameData(static_cast<std::uint8_t>(i)));
    stream.insert(stream.end(), frame.begin(), frame.end());
  }
  if (!rig.Feed(stream)) return 13;
  rig.recorder.RequestFlush();  // the buffered bytes meet the limit at the latest here
  if (!WaitFor([&] { return rig.recorder.WriteFailed(); })) return 14;
  if (rig.Messages() != std::vector<std::string>{"Error Writing to File\nDisk Full?|File Write Error"}) return 15;
  if (rig.hooks.writerMode.load() != 0) return 16;
  // The user interface answers the message by stopping the log.
  rig.recorder.StopDataLog();
  // Live data goes on: bytes still reach the ring.
  if (!rig.Feed(FrameEnvelope(MarkedFrameData(99)))) return 17;
  return 0;
}

// No thread runs in this process when it forks.
TEST(RecorderDiskFullTest, FullDiskStopsTheRecordingAndLeavesTheLogReadable) {
  const testlog::TempDir dir;
  const std::string path = dir.File("full.dat");
  const pid_t child = fork();
  ASSERT_NE(child, -1);
  if (child == 0) {
    signal(SIGXFSZ, SIG_IGN);
    _exit(RecordUntilTheDiskIsFull(path));
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  ASSERT_EQ(WEXITSTATUS(status), 0) << "step that failed in the child";

  Settings settings;
  const std::string header = ExpectedLogHeader(settings);
  EXPECT_EQ(ReadAll(path).substr(0, header.size()), header);
  const testlog::LogReadBack back = ReadLogBack(path);
  ASSERT_EQ(back.good.size(), static_cast<std::size_t>(kFramesBeforeLimit));
  for (int i = 0; i < kFramesBeforeLimit; ++i) EXPECT_EQ(back.good[i][frame::kFlags2], i);
  EXPECT_EQ(back.bad, 0);
}

}  // namespace
}  // namespace vantor::testing
