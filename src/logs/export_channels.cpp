#include "logs/export_channels.h"

namespace vantor {

struct ExportChannels::State {
  double wbAfr = 0.0;
};

ExportChannels::ExportChannels(const Settings&) : state_(new State) {}
ExportChannels::~ExportChannels() { delete state_; }
void ExportChannels::Process(const std::uint8_t*, bool) {}
double ExportChannels::WidebandAfr() const { return state_->wbAfr; }
int ExportChannels::ActiveCount() const { return 0; }
std::string_view ExportChannels::Label(int) const { return {}; }
std::string_view ExportChannels::Text(int) const { return {}; }
int ExportChannels::ColumnWidth(int) const { return 0; }

}  // namespace vantor
