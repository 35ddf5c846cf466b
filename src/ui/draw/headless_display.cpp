#include "ui/draw/headless_display.h"

#include <algorithm>
#include <cctype>

namespace vantor::ui {

std::optional<DisplayMode> DisplayByName(const std::string& name) {
  std::string key = name;
  std::transform(key.begin(), key.end(), key.begin(), [](unsigned char c) { return std::tolower(c); });
  struct Entry {
    const char* name;
    DisplayMode mode;
  };
  static constexpr Entry kNames[] = {
      {"gauges", DisplayMode::Gauges},     {"vantor", DisplayMode::Gauges},   {"vtd", DisplayMode::Gauges},
      {"trip", DisplayMode::Trip},         {"ve", DisplayMode::VeLearn},      {"velearn", DisplayMode::VeLearn},
      {"knock", DisplayMode::SparkKnock},  {"spk", DisplayMode::SparkKnock},  {"diag", DisplayMode::Diagnostic},
      {"diagnostic", DisplayMode::Diagnostic}, {"analysis", DisplayMode::Analysis}, {"flash", DisplayMode::Flash},
  };
  for (const Entry& entry : kNames)
    if (key == entry.name) return entry.mode;
  return std::nullopt;
}

HeadlessDisplay::HeadlessDisplay(const Settings& settings, DisplayMode mode)
    : settings_(settings),
      mode_(mode),
      sources_(nullptr, ByteSourceId::None),
      loop_(sources_, live_, channels_, state_),
      view_(live_, channels_, [this] {
        ProgramState state;
        state.portName = settings_.port;
        return state;
      }),
      panel_(view_, spinner_, [this](const std::string& text, const std::string&) { lastMessage_ = text; }),
      canvas_(800, 600),
      surface_(canvas_),
      gauges_(settings_, view_, panel_, surface_),
      painter_(view_, panel_, gauges_),
      displays_(settings_, view_, panel_, surface_, painter_, loop_),
      veLearn_(settings_, live_, VeLearnHooks{[this](const std::string& text, const std::string&) { lastMessage_ = text; },
                                              {}, [this] { veDisplay_.Redraw(); }, {}, {}}),
      veDisplay_(veLearn_, view_, panel_, surface_) {
  view_.SetKnockTotal([this] { return displays_.Knock().KnockTotal(); });
  channels_.BuildActiveChannels(settings_);
  state_.SetMode(mode);
  loop_.ApplySettings(settings_);
  loop_.SetConsumer(ConsumerSlot::Gauges, &gauges_);
  loop_.SetConsumer(ConsumerSlot::VeLearn, &veDisplay_);
  painter_.SetBody(DisplayMode::VeLearn, &veDisplay_);
  FrameLoopHooks hooks;
  hooks.activityStep = [this] {
    if (IsLiveDisplay(mode_) && spinner_.CountFrame()) spinner_.Step(canvas_);
  };
  hooks.tripResetSampling = [this] { displays_.Trip().ResetSampling(); };
  loop_.SetHooks(std::move(hooks));
}

HeadlessDisplay::~HeadlessDisplay() {
  loop_.SetConsumer(ConsumerSlot::Gauges, nullptr);
  loop_.SetConsumer(ConsumerSlot::VeLearn, nullptr);
}

void HeadlessDisplay::Paint() {
  surface_.TakeInvalidated();
  painter_.Paint(canvas_, mode_);
}

long HeadlessDisplay::FeedLog(const std::string& path, long limit) {
  LogFileReader file;
  if (!file.Open(path)) return -1;
  bool ended = false;
  sources_.SetAnalysisEndHook([&ended] { ended = true; });
  sources_.SetAnalysisFile(true, &file);
  sources_.Select(ByteSourceId::Analysis);
  long fed = 0;
  while (fed < limit && !ended) {
    const int result = loop_.ProcessNextFrame();
    if (result == kFrameEndOfData) break;
    if (result == kFrameOk) ++fed;
  }
  sources_.Select(ByteSourceId::None);
  sources_.SetAnalysisFile(false, nullptr);
  sources_.SetAnalysisEndHook(nullptr);
  return fed;
}

void HeadlessDisplay::Settle() {
  if (surface_.TakeInvalidated()) Paint();
}

}  // namespace vantor::ui
